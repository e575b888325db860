// The real window with the real ffmpeg: a generated clip is cut into images
// after a click on the cut button.
#include <QDir>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Beep.h"
#include "platform/Process.h"
#include "platform/System.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace kelmora {
namespace {

TEST(EndToEnd, ClickingCutTurnsAGeneratedClipIntoNumberedImages)
{
    const std::string ffmpeg = platform::findProgram("ffmpeg", "");
    if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string base = folder.path().toStdString();
    const std::string clip = base + "/clip.mp4";
    auto make = platform::ChildProcess::startHidden(
        ffmpeg, {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t", "1", clip});
    ASSERT_TRUE(make);
    make->waitFor(-1);
    ASSERT_EQ(make->exitStatus(), 0);

    std::vector<QString> notices;
    setNoticeSink([&notices](NoticeKind, const QString& text) { notices.push_back(text); });
    TMainForm1 window(base, {clip});
    window.show();
    window.FormActivate();
    window.BrowseEdit1->SetPath(base + "/out");
    QTest::mouseClick(window.SSButton10, Qt::LeftButton);
    setNoticeSink(nullptr);

    EXPECT_TRUE(notices.empty());
    const QStringList images = QDir(folder.path() + "/out").entryList({QStringLiteral("clip_*.jpg")}, QDir::Files);
    EXPECT_EQ(images.size(), 10);
    EXPECT_TRUE(images.contains(QStringLiteral("clip_00001.jpg")));
    EXPECT_EQ(window.Panel10->ImageList1.Tag, 1);
    // The entry keeps its end state, the caption rests, the strip sums the cut up.
    EXPECT_EQ(window.ListBox1->model()->index(0, 0).data().toString(),
              QStringLiteral("［完了 10枚］") + QString::fromStdString(clip));
    EXPECT_FALSE(window.SLabel1->Caption().contains(QStringLiteral(" — ")));
    EXPECT_EQ(window.SummaryButton->Caption(), QStringLiteral("完了 1本 10枚 ▶開く"));
}

}  // namespace
}  // namespace kelmora
