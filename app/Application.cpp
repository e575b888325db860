#include "app/Application.h"

#include <QIcon>
#include <exception>

#include "controls/Fonts.h"
#include "ui/Notice.h"

namespace kelmora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kelmora"));
    setApplicationDisplayName(QStringLiteral("Kelmora"));
    // The task bar and the window switcher match the window to its menu entry
    // and show the mascot.
    setDesktopFileName(QStringLiteral(KELMORA_APP_ID));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kelmora/icons/kelmora-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    installFontSubstitutions();
    platform::setBeepSink(&m_bell);
}

Application::~Application() { platform::setBeepSink(nullptr); }

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showErrorDisplay(QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorDisplay(QString());
    }
    return false;
}

}  // namespace kelmora
