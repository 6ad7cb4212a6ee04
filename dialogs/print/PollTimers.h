// The timers with which dialogs poll the host. Tests and the simulator's pictures send these ids to make a
// dialog poll at once.
#pragma once

#include <cstdint>

// The Z position of both print confirmations, every 500 ms.
constexpr uintptr_t kZRefreshTimer = 1;
// The multi-step operation's state, every 500 ms.
constexpr uintptr_t kMultiStepPollTimer = 10;
