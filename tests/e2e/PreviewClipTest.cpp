// The start-second preview with the real ffmpeg on a generated clip whose
// grey level tells its second: 40 + 50 per whole second (luma), so the picture
// shown can be checked for the second it shows.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Process.h"
#include "platform/System.h"
#include "ui/MainForm1.h"
#include "ui/Notice.h"

namespace kelmora {
namespace {

class PreviewClip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ffmpeg = platform::findProgram("ffmpeg", "");
        if (ffmpeg.empty()) GTEST_SKIP() << "ffmpeg is not installed";
        ASSERT_TRUE(folder.isValid());
        clip = folder.path().toStdString() + "/grey steps.mp4";
        auto make = platform::ChildProcess::startHidden(
            ffmpeg, {"-f", "lavfi", "-i",
                     "nullsrc=s=160x120:r=10:d=4,format=yuv420p,geq=lum='40+50*floor(T)':cb=128:cr=128", clip});
        ASSERT_TRUE(make);
        make->waitFor(-1);
        ASSERT_EQ(make->exitStatus(), 0);
        setNoticeSink([this](NoticeKind, const QString& text) { notices.push_back(text); });
        window = std::make_unique<TMainForm1>(folder.path().toStdString(), std::vector<std::string>{clip});
        window->FormActivate();
        window->RadioButton2->click();
    }
    void TearDown() override
    {
        window.reset();
        setNoticeSink(nullptr);
    }

    bool previewShown() const
    {
        return QTest::qWaitFor([this] { return !window->Panel11->isHidden(); }, 20000);
    }

    // The second the shown picture is of, from its grey level; -1 for none.
    int shownSecond() const
    {
        const QImage picture = window->Image2->pixmap().toImage();
        if (picture.isNull()) return -1;
        const int luma = (qGray(picture.pixel(picture.width() / 2, picture.height() / 2)) * 219 + 127) / 255 + 16;
        return (luma - 40 + 25) / 50;
    }

    QString previewFile() const { return QString::fromStdString(window->previewFilePath()); }

    std::string ffmpeg;
    QTemporaryDir folder;
    std::string clip;
    std::unique_ptr<TMainForm1> window;
    std::vector<QString> notices;
};

TEST_F(PreviewClip, ALeftoverFromAnEarlierSessionIsReplacedByThisSecond)
{
    const struct {
        const char* row;
        bool picture;  // an earlier run's picture, else bytes that are no picture
    } rows[] = {{"an earlier picture", true}, {"an unreadable leftover", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        notices.clear();
        window->Timer2Timer();
        if (row.picture) {
            QImage earlier(80, 60, QImage::Format_RGB32);
            earlier.fill(Qt::red);
            ASSERT_TRUE(earlier.save(previewFile(), "BMP"));
        } else {
            QFile junk(previewFile());
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
            junk.write("half a bitmap");
        }
        window->SpinEdit1->SetValue(window->SpinEdit1->GetValue() == 2 ? 1 : 2);
        ASSERT_TRUE(previewShown());
        EXPECT_TRUE(notices.empty());
        EXPECT_EQ(shownSecond(), window->SpinEdit1->GetValue());
        EXPECT_FALSE(QFile::exists(previewFile()));
    }
}

TEST_F(PreviewClip, TwoQuickStepsShowTheLaterSecondAndLeaveNoFile)
{
    window->SpinEdit1->SetValue(1);
    window->SpinEdit1->SetValue(3);  // before the first run can have ended
    ASSERT_TRUE(previewShown());
    EXPECT_EQ(shownSecond(), 3);
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(QFile::exists(previewFile()));
}

}  // namespace
}  // namespace kelmora
