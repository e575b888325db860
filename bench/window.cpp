// Measures the main window's two heavy paths, for bench/window.sh.
//   bench_window register DIR
//       registers DIR as a dropped folder; prints the entries and the time.
//   bench_window drop DIR
//       drops every file below DIR by name (one uri list), then DIR itself as
//       one folder, then names every file as a command-line argument, each on
//       a fresh window; prints each time to the first paint and the ratios.
//   bench_window batch FOLDER DEST SCRIPT
//       cuts every video of FOLDER with the real extractor while a 10 ms
//       timer runs; prints the timer's lateness (median, maximum) and the wall
//       time, and writes the same command lines to SCRIPT for the shell to time.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/Fonts.h"
#include "cut/CutCommand.h"
#include "cut/TargetSearch.h"
#include "platform/FileFind.h"
#include "platform/Process.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

using namespace kelmora;

namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted(1, '\'');
    for (char c : text) {
        if (c == '\'') quoted.append("'\\''");
        else quoted.push_back(c);
    }
    quoted.push_back('\'');
    return quoted;
}

int registerFolder(const std::string& dir)
{
    QTemporaryDir folder;
    TMainForm1 window(folder.path().toStdString(), {});
    window.show();
    QElapsedTimer clock;
    clock.start();
    window.RegisterCutTarget(dir);
    QCoreApplication::processEvents();  // the view's update after the merge
    std::printf("register: %zu entries in %.1f ms\n", window.targets().size(), clock.nsecsElapsed() / 1e6);
    return 0;
}

// Milliseconds from before `registration` to the window's next paint.
template <typename Registration>
double timeToPaint(TMainForm1& window, Registration registration)
{
    window.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    registration();
    window.repaint();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

int dropFiles(const std::string& dir)
{
    std::vector<std::string> files;
    for (const std::string& entry : findCutTargets(dir)) {
        platform::FileFindData data;
        if (platform::lookUpEntry(entry, data) && !(data.attributes & platform::faDirectory)) files.push_back(entry);
    }
    QByteArray names;
    for (const std::string& file : files)
        names += QUrl::fromLocalFile(QString::fromStdString(file)).toEncoded() + "\r\n";
    QMimeData byName;
    byName.setData(QStringLiteral("text/uri-list"), names);
    QMimeData asFolder;
    asFolder.setData(QStringLiteral("text/uri-list"), QUrl::fromLocalFile(QString::fromStdString(dir)).toEncoded());

    QTemporaryDir folder;
    double named = 0, whole = 0, arguments = 0;
    std::size_t namedCount = 0, wholeCount = 0, argumentCount = 0;
    {
        TMainForm1 window(folder.path().toStdString(), {});
        named = timeToPaint(window, [&] { window.dropTargets(byName); });
        namedCount = window.targets().size();
    }
    {
        TMainForm1 window(folder.path().toStdString(), {});
        whole = timeToPaint(window, [&] { window.dropTargets(asFolder); });
        wholeCount = window.targets().size();
    }
    {
        // From the start of the program's window to its first paint.
        QElapsedTimer clock;
        clock.start();
        TMainForm1 window(folder.path().toStdString(), files);
        window.show();
        window.FormActivate();
        window.repaint();
        QCoreApplication::processEvents();
        arguments = clock.nsecsElapsed() / 1e6;
        argumentCount = window.targets().size();
    }
    std::printf("drop by name: %zu names, %zu entries in %.1f ms\n", files.size(), namedCount, named);
    std::printf("drop folder:  %zu entries in %.1f ms\n", wholeCount, whole);
    std::printf("arguments:    %zu entries in %.1f ms\n", argumentCount, arguments);
    std::printf("by name / folder: %.2fx; arguments / folder: %.2fx\n", named / whole, arguments / whole);
    return 0;
}

int batch(const std::string& videos, const std::string& destination, const std::string& script)
{
    QTemporaryDir folder;
    const std::vector<std::string> targets{videos};
    setNoticeSink([](NoticeKind, const QString& text) { std::printf("notice: %s\n", qPrintable(text)); });
    TMainForm1 window(folder.path().toStdString(), targets);
    window.show();
    window.FormActivate();
    window.BrowseEdit1->SetPath(destination);

    QFile out(QString::fromStdString(script));
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write("#!/bin/sh\nset -e\n");
    const std::string ffmpeg = platform::findProgram("ffmpeg", "");
    for (const std::string& target : window.targets()) {
        const CutCommand command = BuildCutCommandLine(target, window.currentSettings());
        std::string line = shellQuoted(ffmpeg);
        for (const std::string& argument : command.command.arguments) {
            line.push_back(' ');
            line.append(shellQuoted(argument));
        }
        line.append(" </dev/null >/dev/null 2>&1\n");
        out.write(line.c_str());
    }
    out.close();

    std::vector<double> lateness;
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    qint64 last = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        lateness.push_back(std::max(0.0, (now - last) / 1e6 - 10.0));
        last = now;
    });
    clock.start();
    tick.start(10);
    window.SSButton10Click();
    const double wall = clock.nsecsElapsed() / 1e6;
    tick.stop();
    std::sort(lateness.begin(), lateness.end());
    const double median = lateness.empty() ? 0 : lateness[lateness.size() / 2];
    const double maximum = lateness.empty() ? 0 : lateness.back();
    std::printf("batch: %zu runs in %.1f ms; 10 ms timer lateness median %.2f ms, max %.2f ms (%zu ticks)\n",
                window.targets().size(), wall, median, maximum, lateness.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("Kelmora"));
    installFontSubstitutions();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "register") return registerFolder(args[1]);
    if (args.size() == 2 && args[0] == "drop") return dropFiles(args[1]);
    if (args.size() == 4 && args[0] == "batch") return batch(args[1], args[2], args[3]);
    std::fprintf(stderr, "usage: %s register DIR | drop DIR | batch FOLDER DEST SCRIPT\n", argv[0]);
    return 2;
}
