// The floor of bench/startup.sh: a bare Qt window of the main window's size,
// named as it is, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setObjectName(QStringLiteral("MainForm1"));
    window.resize(550, 437);
    window.show();
    return app.exec();
}
