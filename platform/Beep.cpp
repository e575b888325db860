#include "platform/Beep.h"

#include <unistd.h>

namespace kelmora::platform {

namespace {

struct TerminalBell final : BeepSink {
    void beep() override
    {
        if (::isatty(STDERR_FILENO)) {
            [[maybe_unused]] const auto written = ::write(STDERR_FILENO, "\a", 1);
        }
    }
};

TerminalBell terminalBell;
BeepSink* currentSink = &terminalBell;

}  // namespace

void beep() { currentSink->beep(); }

void setBeepSink(BeepSink* sink) { currentSink = sink ? sink : &terminalBell; }

}  // namespace kelmora::platform
