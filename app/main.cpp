// Kelmora: cuts video files into numbered still images with ffmpeg.
#include <QTimer>
#include <exception>
#include <string>
#include <vector>

#include "app/Application.h"
#include "controls/TextBytes.h"
#include "platform/System.h"
#include "ui/InfoForm1.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

int main(int argc, char** argv)
{
    // Every argument is a cut target: the toolkit never sees them.
    kelmora::Application app(argc, argv);
    try {
        kelmora::TMainForm1 MainForm1(kelmora::platform::programFolder(), app.targets());
        kelmora::TInfoForm1 InfoForm1(&MainForm1);
        MainForm1.InfoForm1 = &InfoForm1;
        MainForm1.show();
        // The first activation loads the settings and registers the targets. A
        // desktop that keeps focus from new windows (or none at all) never
        // activates it, so the load also runs once the window is up; it runs once.
        QTimer::singleShot(0, &MainForm1, [&MainForm1] { MainForm1.FormActivate(); });
        app.exec();
    } catch (const std::exception& error) {
        kelmora::showErrorDisplay(kelmora::fromSystemBytes(error.what()));
    } catch (...) {
        kelmora::showErrorDisplay(QString());
    }
    return 0;
}
