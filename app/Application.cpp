#include "app/Application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <exception>

#include "controls/Colors.h"
#include "controls/Fonts.h"
#include "controls/TextBytes.h"
#include "ui/Notice.h"

namespace kelmora {

ProgramArguments::ProgramArguments(int argc, const char* const* argv)
    : m_programName(argc > 0 && argv[0] ? argv[0] : "kelmora")
{
    for (int i = 1; i < argc; ++i) m_targets.emplace_back(argv[i]);
    m_toolkitArgv = {m_programName.data(), nullptr};
}

Application::Application(int argc, const char* const* argv)
    : ProgramArguments(argc, argv), QApplication(m_toolkitArgc, m_toolkitArgv.data())
{
    // The name is also what notices show as their title. No display name of its
    // own: the platform would append it to every window title, and the task bar
    // is to read "Kelmora (3/20)" during a batch, not "Kelmora (3/20) — Kelmora".
    setApplicationName(QStringLiteral("Kelmora"));
    // The task bar and the window switcher match the window to its menu entry
    // and show the mascot.
    setDesktopFileName(QStringLiteral(KELMORA_APP_ID));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kelmora/icons/kelmora-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    installFontSubstitutions();
    setPalette(classicPalette());
    // Qt's own Japanese texts for its dialogs (the folder picker, message box
    // buttons). Without them installed the dialogs stay in English.
    if (m_toolkitTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_toolkitTexts);
    platform::setBeepSink(&m_bell);
}

Application::~Application() { platform::setBeepSink(nullptr); }

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showErrorDisplay(fromSystemBytes(error.what()));
    } catch (...) {
        showErrorDisplay(QString());
    }
    return false;
}

QPalette classicPalette()
{
    QPalette p;
    const auto set = [&p](QPalette::ColorRole role, TColor color) { p.setColor(role, toQColor(color)); };
    set(QPalette::Window, clBtnFace);
    set(QPalette::WindowText, clWindowText);
    set(QPalette::Base, clWindow);
    set(QPalette::AlternateBase, clBtnFace);
    set(QPalette::Text, clWindowText);
    set(QPalette::Button, clBtnFace);
    set(QPalette::ButtonText, clBtnText);
    set(QPalette::BrightText, clBtnHighlight);
    set(QPalette::Light, clBtnHighlight);
    set(QPalette::Midlight, cl3DLight);
    set(QPalette::Mid, rgbColor(0xA0, 0xA0, 0xA0));  // between the highlight and the shadow
    set(QPalette::Dark, clBtnShadow);
    set(QPalette::Shadow, cl3DDkShadow);
    set(QPalette::Highlight, clHighlight);
    set(QPalette::HighlightedText, clHighlightText);
    set(QPalette::ToolTipBase, clInfoBk);
    set(QPalette::ToolTipText, clInfoText);
    set(QPalette::PlaceholderText, clGrayText);
    set(QPalette::Link, clBlue);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, toQColor(clGrayText));
    return p;
}

}  // namespace kelmora
