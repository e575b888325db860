#pragma once
// The system's default sound. The sound goes to a sink that the window (or a
// test) may replace.

namespace kelmora::platform {

struct BeepSink {
    virtual ~BeepSink() = default;
    virtual void beep() = 0;
};

void beep();

// Routes beeps to sink; nullptr restores the built-in one (systemBeep).
void setBeepSink(BeepSink* sink);

// The sound without a window system: the terminal bell on POSIX (when stderr
// is a terminal), the default message sound on Windows.
void systemBeep();

}  // namespace kelmora::platform
