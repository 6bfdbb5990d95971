// What the stand-in tests share: a private state file for the whole run, a
// fixture that starts every test from the defaults, and kestrel-sim runs.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sim/Sim.h"

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Sim::Reset()); }
};

struct SimRun {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// Runs kestrel-sim.exe from the bin folder with the arguments and waits for it.
SimRun RunSim(const std::wstring& arguments);
