// Saves a picture of the main window during a batch (docs/main-window.png),
// with the application object the program has (its fonts and colours): twenty
// generated clips, the third a long one, pictured while it is being cut.
// Usage: kelmora_window_picture OUTPUT.png
#include <QDir>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "platform/Process.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace {

bool makeClip(const std::string& ffmpeg, const std::string& path, const char* size, const char* seconds)
{
    auto make = kelmora::platform::ChildProcess::startHidden(
        ffmpeg, {"-v", "error", "-f", "lavfi", "-i", std::string("testsrc=size=") + size + ":rate=25", "-t", seconds,
                 "-pix_fmt", "yuv420p", path});
    if (!make) return false;
    make->waitFor(-1);
    return make->exitStatus() == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    kelmora::Application app(argc, argv);
    const QString output = QString::fromLocal8Bit(app.targets().front().c_str());
    const std::string ffmpeg = kelmora::platform::findProgram("ffmpeg", "");
    QTemporaryDir folder;
    const std::string base = folder.path().toStdString();
    std::vector<std::string> clips;
    for (int i = 1; i <= 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/clips/scene%02d.mp4", i);
        clips.push_back(base + name);
        QDir().mkpath(folder.path() + "/clips");
        const bool longOne = i == 3;
        if (ffmpeg.empty() || !makeClip(ffmpeg, clips.back(), longOne ? "640x480" : "64x48", longOne ? "40" : "1")) {
            std::fprintf(stderr, "%s: cannot make the clips with ffmpeg\n", argv[0]);
            return 1;
        }
    }
    kelmora::TMainForm1 window(base, {});
    window.show();
    window.FormActivate();
    window.BrowseEdit1->SetPath(base + "/stills");
    window.RegisterCutTargets(clips);
    // Let the mascot play its opening run to an idle frame, then cut.
    QTest::qWait(3000);
    bool saved = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        const QString running = window.ListBox1->model()->index(2, 0).data().toString();
        if (!running.contains(QLatin1Char('%')) || running.contains(QStringLiteral(" 0%"))) return;
        look.stop();
        saved = window.grab().save(output);
        // Stop the cut and close, with no message box to wait on.
        kelmora::setQuestionSink([](const QString&) { return true; });
        kelmora::setNoticeSink([](kelmora::NoticeKind, const QString&) {});
        window.close();
    });
    look.start(50);
    QTimer::singleShot(0, [&] {
        window.SSButton10Click();
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
