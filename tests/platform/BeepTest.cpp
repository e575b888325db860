#include <gtest/gtest.h>

#include "platform/Beep.h"

using namespace kelmora::platform;

TEST(Beep, GoesToTheSink)
{
    struct Counter : BeepSink {
        int beeps = 0;
        void beep() override { ++beeps; }
    } counter;
    setBeepSink(&counter);
    beep();
    beep();
    setBeepSink(nullptr);
    beep();  // the built-in one again
    EXPECT_EQ(counter.beeps, 2);
}
