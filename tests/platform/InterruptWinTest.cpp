// The interrupt key, as the console hands it to the program.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/Interrupt.h"

namespace kelmora::platform {
namespace {

TEST(InterruptWin, EachInterruptKeyIsCountedAndEndsTheProgramWith130)
{
    // The tests run without a console of their own: one is made for the keys.
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    {
        InterruptWatch watch;
        EXPECT_EQ(watch.exitStatus(), 0);
        EXPECT_EQ(watch.takeRequests(), 0);
        ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        ASSERT_EQ(::WaitForSingleObject(reinterpret_cast<HANDLE>(watch.handle()), INFINITE), WAIT_OBJECT_0);
        ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        // Each key is handled on a thread of its own: the two may come in one take or two.
        int requests = 0;
        while (requests < 2) {
            ASSERT_EQ(::WaitForSingleObject(reinterpret_cast<HANDLE>(watch.handle()), INFINITE), WAIT_OBJECT_0);
            requests += watch.takeRequests();
        }
        EXPECT_EQ(requests, 2);
        EXPECT_EQ(::WaitForSingleObject(reinterpret_cast<HANDLE>(watch.handle()), 0), WAIT_TIMEOUT) << "taken";
        EXPECT_EQ(watch.exitStatus(), 130);
    }
    ::FreeConsole();
}

}  // namespace
}  // namespace kelmora::platform
