// Loaded into an installed kelmora by scripts/check-install (LD_PRELOAD), so the
// check runs the shipped program unchanged. Once the main window is up it
// reports what the window tells the desktop and then closes every window, as
// the user's "×" would: the program saves its settings and ends.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QStringList>
#include <QWidget>
#include <cstdio>

namespace {

QWidget* shownMainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("MainForm1") && window->isVisible()) return window;
    }
    return nullptr;
}

void report()
{
    QStringList sizes;
    for (const QSize& size : QApplication::windowIcon().availableSizes()) sizes << QString::number(size.width());
    std::printf("desktop-file-name=%s\nwindow-icon-sizes=%s\n", qPrintable(QGuiApplication::desktopFileName()),
                qPrintable(sizes.join(QLatin1Char(','))));
    std::fflush(stdout);
}

void closeOnceShown()
{
    auto* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    auto* connection = new QMetaObject::Connection;
    *connection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, qApp, [connection] {
        if (!shownMainWindow()) return;
        QObject::disconnect(*connection);
        delete connection;
        report();
        // Posted: the program posted the window's first activation (the settings
        // load) before its event loop began, so the load runs first.
        QMetaObject::invokeMethod(qApp, &QApplication::closeAllWindows, Qt::QueuedConnection);
    });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(closeOnceShown)
