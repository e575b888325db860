#include "platform/Beep.h"

namespace kelmora::platform {

namespace {

struct SystemSound final : BeepSink {
    void beep() override { systemBeep(); }
};

SystemSound systemSound;
BeepSink* currentSink = &systemSound;

}  // namespace

void beep() { currentSink->beep(); }

void setBeepSink(BeepSink* sink) { currentSink = sink ? sink : &systemSound; }

}  // namespace kelmora::platform
