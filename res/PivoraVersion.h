// The module's version: the one place it is written. The VERSIONINFO resource takes it from here, and the
// build reads it for the name of the package.
#pragma once

#define PIVORA_VERSION_MAJOR 1
#define PIVORA_VERSION_MINOR 0
#define PIVORA_VERSION_PATCH 0
#define PIVORA_VERSION_BUILD 1

#define PIVORA_STRINGIFY_(x) #x
#define PIVORA_STRINGIFY(x) PIVORA_STRINGIFY_(x)
#define PIVORA_VERSION_TEXT                                                                                  \
    PIVORA_STRINGIFY(PIVORA_VERSION_MAJOR)                                                                   \
    "." PIVORA_STRINGIFY(PIVORA_VERSION_MINOR) "." PIVORA_STRINGIFY(                                         \
        PIVORA_VERSION_PATCH) "." PIVORA_STRINGIFY(PIVORA_VERSION_BUILD)
