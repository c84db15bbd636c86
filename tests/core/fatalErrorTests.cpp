// The fatal-error exit, run in child processes.
#include "core/fatalError.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using qvr::test::cScratchDir;
using qvr::test::readFile;

namespace {

// The child must never find a display: a message box there would wait for a click.
class FatalError : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    cScratchDir mDir{true};
};

} // namespace

TEST_F(FatalError, WritesTheLogAndStandardErrorAndFailsTheProcess)
{
    EXPECT_EXIT(qvr::reportFatalError("x"), ::testing::ExitedWithCode(EXIT_FAILURE),
                "^Crash: x\n$");
    EXPECT_EQ(readFile("CrashLog.txt"), "Crash: x");
}

TEST_F(FatalError, ASecondFailureReplacesTheLog)
{
    EXPECT_EXIT(qvr::reportFatalError("a rather long first message"),
                ::testing::ExitedWithCode(EXIT_FAILURE), "first message");
    EXPECT_EXIT(qvr::reportFatalError("Crash in: cThing op : short"),
                ::testing::ExitedWithCode(EXIT_FAILURE), "short");
    EXPECT_EQ(readFile("CrashLog.txt"), "Crash: Crash in: cThing op : short");
}

TEST_F(FatalError, AnUnwritableLogStillReportsAndExits)
{
    // A directory in the log's place cannot be opened for writing, not even by root.
    std::filesystem::create_directory("CrashLog.txt");
    EXPECT_EXIT(qvr::reportFatalError("no log"), ::testing::ExitedWithCode(EXIT_FAILURE),
                "Crash: no log");
    EXPECT_TRUE(std::filesystem::is_directory("CrashLog.txt"));
}
