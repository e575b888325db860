// The real window with the real ffmpeg, as a user sees a batch: twenty
// generated videos, one long and one that is no video, cut after a click on
// the cut button; the caption counts, the long one shows how far it is, each
// entry ends in its state, and the summary opens the destination with the
// desktop.
#include <QDir>
#include <QFile>
#include <QListView>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Process.h"
#include "platform/System.h"
#include "tests/support/Environment.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace kelmora {
namespace {

bool makeClip(const std::string& ffmpeg, const std::string& source, const std::string& seconds, const std::string& file)
{
    auto make = platform::ChildProcess::startHidden(
        ffmpeg, {"-v", "error", "-f", "lavfi", "-i", source, "-t", seconds, "-preset", "ultrafast", file});
    if (!make) return false;
    make->waitFor(-1);
    return make->exitStatus() == 0;
}

QString rowText(const TMainForm1& window, int row) { return window.ListBox1->model()->index(row, 0).data().toString(); }

TEST(EndToEnd, ABatchOfTwentyShowsItsWayAndEndsWithASummaryThatOpensTheImages)
{
    const std::string ffmpeg = platform::findProgram("ffmpeg", "");
    if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string base = folder.path().toStdString();
    // Eighteen copies of a short clip (5 frames), a long one (3000 frames) as
    // the 10th entry, and a file that is no video as the 15th.
    ASSERT_TRUE(makeClip(ffmpeg, "testsrc=size=64x48:rate=10", "0.5", base + "/short.mp4"));
    std::vector<std::string> videos;
    for (int k = 1; k <= 20; ++k) {
        const std::string video = base + "/videos/" + (k < 10 ? "v0" : "v") + std::to_string(k) + ".mp4";
        videos.push_back(video);
    }
    ASSERT_TRUE(QDir().mkpath(folder.path() + "/videos"));
    ASSERT_TRUE(makeClip(ffmpeg, "testsrc=size=160x120:rate=25", "120", videos[9]));
    {
        QFile broken(QString::fromStdString(videos[14]));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("no video here\n");
    }
    for (std::size_t k = 0; k < videos.size(); ++k) {
        if (k == 9 || k == 14) continue;
        ASSERT_TRUE(QFile::copy(folder.path() + "/short.mp4", QString::fromStdString(videos[k])));
    }
    // The desktop's opener, as the window finds it on the PATH: notes what it was asked to open.
    const QString opened = folder.path() + "/opened";
    {
        QFile opener(folder.path() + "/bin/xdg-open");
        ASSERT_TRUE(QDir().mkpath(folder.path() + "/bin") && opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" '" + opened.toUtf8() + "'\n");
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    }
    const struct ScopedPath {
        std::string before = qEnvironmentVariable("PATH").toStdString();
        explicit ScopedPath(const std::string& first) { test::setEnvironment("PATH", first + ":" + before); }
        ~ScopedPath() { test::setEnvironment("PATH", before); }
    } path(base + "/bin");

    std::vector<QString> notices;
    setNoticeSink([&notices](NoticeKind, const QString& text) { notices.push_back(text); });
    TMainForm1 window(base, {base + "/videos"});
    window.show();
    window.FormActivate();
    const std::string out = base + "/out";
    window.BrowseEdit1->SetPath(out);
    const QString resting = window.SLabel1->Caption();

    // Every redraw of the list during the batch, with the caption then.
    std::vector<QString> captions;
    std::vector<QString> longRow;
    std::vector<QString> firstDraw;
    QObject::connect(window.ListBox1->model(), &QAbstractItemModel::dataChanged, &window, [&] {
        if (firstDraw.empty())
            for (int row = 0; row < 20; ++row) firstDraw.push_back(rowText(window, row));
        captions.push_back(window.SLabel1->Caption());
        longRow.push_back(rowText(window, 9));
    });
    QTest::mouseClick(window.SSButton10, Qt::LeftButton);
    setNoticeSink(nullptr);

    ASSERT_EQ(firstDraw.size(), 20u);
    EXPECT_TRUE(firstDraw[0].startsWith(QStringLiteral("［カット中"))) << firstDraw[0].toStdString();
    for (int row = 1; row < 20; ++row) EXPECT_TRUE(firstDraw[row].startsWith(QStringLiteral("［待機中］"))) << row;
    // The caption counts up (a few redraws a second: short entries may pass unseen).
    const QRegularExpression count(QStringLiteral("^") + QRegularExpression::escape(resting) + " — (\\d+)/20$");
    int lastCount = 0;
    for (const QString& caption : captions) {
        const QRegularExpressionMatch match = count.match(caption);
        if (caption == resting) continue;  // the end
        ASSERT_TRUE(match.hasMatch()) << caption.toStdString();
        EXPECT_GE(match.captured(1).toInt(), lastCount);
        lastCount = match.captured(1).toInt();
    }
    for (const QString& seen : {resting + QStringLiteral(" — 1/20"), resting + QStringLiteral(" — 10/20")})
        EXPECT_NE(std::find(captions.begin(), captions.end(), seen), captions.end()) << seen.toStdString();
    const QRegularExpression percent(QStringLiteral("^［カット中 \\d+%］"));
    EXPECT_TRUE(
        std::any_of(longRow.begin(), longRow.end(), [&](const QString& row) { return percent.match(row).hasMatch(); }));

    // The end: each entry's state, the caption at rest, the failure listed, the summary.
    for (int row = 0; row < 20; ++row) {
        const QString video = QString::fromStdString(videos[row]);
        if (row == 9) EXPECT_EQ(rowText(window, row), QStringLiteral("［完了 3000枚］") + video);
        else if (row == 14)
            EXPECT_TRUE(rowText(window, row).startsWith(QStringLiteral("［失敗：")))
                << rowText(window, row).toStdString();
        else EXPECT_EQ(rowText(window, row), QStringLiteral("［完了 5枚］") + video);
    }
    EXPECT_EQ(window.SLabel1->Caption(), resting);
    EXPECT_EQ(QDir(QString::fromStdString(out)).entryList(QDir::Files).size(), 18 * 5 + 3000);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].contains(QString::fromStdString(videos[14])));
    EXPECT_EQ(window.Panel10->ImageList1.Tag, 0);  // no celebration for a batch with a failure
    ASSERT_TRUE(window.SummaryPanel->isVisible());
    EXPECT_EQ(window.SummaryButton->Caption(), QStringLiteral("完了 19本 3090枚 失敗 1 ▶開く"));

    QTest::mouseClick(window.SummaryButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(opened); }, 20000));
    QFile said(opened);
    ASSERT_TRUE(said.open(QIODevice::ReadOnly));
    EXPECT_EQ(said.readAll().toStdString(), out);
}

}  // namespace
}  // namespace kelmora
