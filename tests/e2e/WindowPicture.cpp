// Saves a picture of the main window at rest (docs/main-window.png), with the
// application object the program has (its fonts and colours).
// Usage: kelmora_window_picture OUTPUT.png
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/Application.h"
#include "ui/MainForm1.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kelmora::Application app(argc, argv);
    QTemporaryDir folder;
    kelmora::TMainForm1 window(folder.path().toStdString(), {});
    window.show();
    window.FormActivate();
    window.BrowseEdit1->SetPath("/home/user/Pictures/kelmora");
    // Let the mascot play its opening run to an idle frame.
    QTest::qWait(3000);
    return window.grab().save(QString::fromLocal8Bit(app.targets().front().c_str())) ? 0 : 1;
}
