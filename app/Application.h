#pragma once
// The application object: takes the title "Kelmora" (the caption of every
// message box) and shows any error that escapes an event handler through the
// error display, after which the program goes on. Every window and standard
// dialog is drawn in the classic system colours, and the toolkit's own dialogs
// speak Japanese like the rest of the program, whatever the system's language.

#include <QApplication>
#include <QTranslator>

#include "platform/Beep.h"

namespace kelmora {

class Application : public QApplication {
    Q_OBJECT
public:
    // argc and argv as the toolkit may see them: CommandLine hands it the
    // program name alone.
    Application(int& argc, char** argv);

    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // The window system's bell, so the end of a batch is heard without a terminal.
    struct WindowSystemBell final : platform::BeepSink {
        void beep() override { QApplication::beep(); }
    };
    WindowSystemBell m_bell;
    QTranslator m_toolkitTexts;
};

// The classic system colours (button face D4D0C8, selection 0A246A, ...) as a palette.
QPalette classicPalette();

}  // namespace kelmora
