#pragma once
// The application object: takes the title "Kelmora" (the caption of every
// message box) and shows any error that escapes an event handler through the
// error display, after which the program goes on. Every window and standard
// dialog is drawn in the classic system colours, and the toolkit's own dialogs
// speak Japanese like the rest of the program, whatever the system's language.
//
// Every command-line argument is a cut target: the toolkit is handed the
// program name alone, so "-reverse", "-style X" or "-platform X" are files to
// cut like any other argument, and the toolkit's settings still come from the
// environment (QT_QPA_PLATFORM and the like).

#include <QApplication>
#include <QTranslator>
#include <string>
#include <vector>

#include "platform/Beep.h"

namespace kelmora {

// The process's arguments, split before the toolkit can read any of them. A
// base of Application, so they are made before the toolkit and outlive it, as
// the toolkit requires of its argc and argv.
class ProgramArguments {
protected:
    ProgramArguments(int argc, const char* const* argv);
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;

    std::vector<std::string> m_targets;  // every argument after the program name, byte for byte
    std::string m_programName;
    int m_toolkitArgc = 1;
    std::vector<char*> m_toolkitArgv;  // the program name and the closing null
};

// No Q_OBJECT: the toolkit's meta object wants its own class as the first base.
class Application : private ProgramArguments, public QApplication {
public:
    Application(int argc, const char* const* argv);
    ~Application() override;

    // Every argument after the program name, byte for byte, in order.
    const std::vector<std::string>& targets() const { return m_targets; }

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
