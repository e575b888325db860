#pragma once
// The application object: takes the title "Kelmora" (the caption of every
// message box) and shows any error that escapes an event handler through the
// error display, after which the program goes on.

#include <QApplication>

#include "platform/Beep.h"

namespace kelmora {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // The window system's bell, so the end of a batch is heard without a terminal.
    struct WindowSystemBell final : platform::BeepSink {
        void beep() override { QApplication::beep(); }
    };
    WindowSystemBell m_bell;
};

}  // namespace kelmora
