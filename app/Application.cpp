#include "app/Application.h"

#include <exception>

#include "controls/Fonts.h"
#include "ui/Notice.h"

namespace kelmora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kelmora"));
    setApplicationDisplayName(QStringLiteral("Kelmora"));
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
