// The simulated machine for rule tests: a call a correct module never makes (an index outside a host list,
// a snapshot released twice, never, or used after its release) fails the test that made it.
#pragma once

#include <gtest/gtest.h>

#include "SimMachine.h"

struct StrictMachine : SimMachine {
    ~StrictMachine() {
        for (const std::string& strFault : Faults())
            ADD_FAILURE() << "host misused: " << strFault;
    }
};
