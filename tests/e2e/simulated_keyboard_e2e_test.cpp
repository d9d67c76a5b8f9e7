// MMKeyboard-sim.exe with a simulated keyboard: a report written to the
// keyboard's pipe goes through the real reader, post and dispatcher.
#include <gtest/gtest.h>
#include "e2e/SimulatedKeyboard.h"
#include "support/WineTestSupport.h"

namespace {

using namespace mmk_test;

const char kKeyboardPipe[] = "\\\\.\\pipe\\mmk-e2e-keyboard";

class SimulatedKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndProcessesNamed("calc.exe");
        ASSERT_TRUE(ClearSimulatedDevices());
        SimulatedDeviceEntry keyboard;
        keyboard.devicePath = kKeyboardPipe;
        ASSERT_TRUE(RegisterSimulatedDevice(0, keyboard));

        calculator = WindowsDirectory() + "\\calc.exe";
        ASSERT_TRUE(CopyFileOver(BuildFile("stubs\\calc.exe"), calculator));
        DeleteFileA((calculator + ".log").c_str());
    }
    void TearDown() override
    {
        program.Stop();
        EndProcessesNamed("calc.exe");
        ClearSimulatedDevices();
    }

    SimulatedKeyboardPipe keyboard{ kKeyboardPipe };
    RunningProgram program;
    std::string calculator;
};

TEST_F(SimulatedKeyboardTest, CalculatorKeyStartsTheCalculator)
{
    ASSERT_TRUE(keyboard.PlugIn());
    ASSERT_TRUE(program.Start(BuildFile("MMKeyboard-sim.exe")));
    ASSERT_TRUE(keyboard.WaitForClient(20000)) << "the program never opened the simulated keyboard";

    ASSERT_TRUE(keyboard.Send({ 0x01, 0x00, 0x80, 0x00 }));
    ASSERT_TRUE(keyboard.Send({ 0x01, 0x00, 0x00, 0x00 }));

    const std::string expected = "cmdline " + calculator;
    EXPECT_TRUE(WaitUntil([&] { return ReadFileText(calculator + ".log").find(expected) != std::string::npos; },
                          15000))
        << "log: " << ReadFileText(calculator + ".log");
}

}  // namespace
