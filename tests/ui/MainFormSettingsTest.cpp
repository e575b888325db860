// Loading Kelmora.ini at the first activation and writing it on close.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ProfileFile.h"
#include "tests/ui/MainFormFixture.h"

namespace kelmora::test {
namespace {

TEST_F(MainFormTest, WithoutAFileTheDefaultsStayAndCloseWritesEveryKeyInOrder)
{
    TMainForm1& w = open();
    EXPECT_EQ(w.pos(), QPoint(20, 20));
    EXPECT_EQ(w.BrowseEdit1->GetPath(), programFolder());
    EXPECT_EQ(w.BrowseEdit1->toolTip().toStdString(), programFolder());
    EXPECT_EQ(w.Tag(), 1);

    ASSERT_TRUE(w.FormClose());
    const QByteArray expected =
        "[SET]\nM_LEFT=20\nM_TOP=20\n[SET1]\nR1=1\nR2=0\nS1=0\nS2=1\nR9=1\nR10=0\nS5=1\n"
        "R3=1\nR4=0\nS3=320\nS4=240\nB1="
        + QByteArray::fromStdString(programFolder()) + "\nR5=1\nR6=0\nR7=0\nR8=0\n";
    QByteArray written = readFile(QStringLiteral("Kelmora.ini"));
    written.replace("\r\n", "\n");
    EXPECT_EQ(written, expected);
}

TEST_F(MainFormTest, SavedChoicesComeBackAndRunTheirRules)
{
    writeFile(QStringLiteral("Kelmora.ini"),
              "[SET]\nM_LEFT=5\nM_TOP=300\n[SET1]\nR1=0\nR2=1\nS1=0x10\nS2=7\nR3=0\nR4=1\nS3=640\nS4=480\n"
              "S5=500\nB1=/tmp/out/\nR5=0\nR6=0\nR7=1\nR8=0\n");
    TMainForm1& w = open();
    EXPECT_EQ(w.pos(), QPoint(5, 300));
    EXPECT_TRUE(w.RadioButton2->isChecked());
    EXPECT_TRUE(w.SpinEdit1->isEnabled());
    EXPECT_EQ(w.SpinEdit1->GetValue(), 16);
    EXPECT_EQ(w.SpinEdit2->GetValue(), 7);
    EXPECT_EQ(w.SpinEdit5->GetValue(), 60);
    EXPECT_TRUE(w.RadioButton4->isChecked());
    EXPECT_TRUE(w.SpinEdit4->isEnabled());
    EXPECT_EQ(w.SpinEdit3->GetValue(), 640);
    EXPECT_EQ(w.BrowseEdit1->GetPath(), "/tmp/out");
    EXPECT_EQ(w.BrowseEdit1->toolTip(), QStringLiteral("/tmp/out"));
    EXPECT_TRUE(w.RadioButton7->isChecked());
    EXPECT_FALSE(w.RadioButton5->isChecked());
    EXPECT_TRUE(notices.empty());
}

// A choice beyond the window's own controls ("DETAIL") reaches the cuts and is written back.
TEST_F(MainFormTest, ADetailChoiceIsKeptForTheCutsAndWrittenBack)
{
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nB1=/tmp/out\n[DETAIL]\nEXISTING=1\n");
    TMainForm1& w = open();
    EXPECT_EQ(w.currentSettings().Existing, static_cast<std::int32_t>(ExistingImages::Skip));
    ASSERT_TRUE(w.FormClose());
    EXPECT_TRUE(readFile(QStringLiteral("Kelmora.ini")).contains("[DETAIL]\nEXISTING=1\n"));
}

TEST_F(MainFormTest, APositionOffEveryScreenOpensOnOneAndIsSavedAsItIs)
{
    // The offscreen platform has one 800 x 600 screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* row;
        QByteArray saved;
        QPoint expected;
    } rows[] = {
        {"on the screen", "M_LEFT=30\nM_TOP=40\n", {30, 40}},
        {"a monitor unplugged", "M_LEFT=-2000\nM_TOP=-2000\n", screen.topLeft()},
        {"below and to the right", "M_LEFT=5000\nM_TOP=5000\n", {screen.right() + 1 - 550, screen.bottom() + 1 - 16}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        writeFile(QStringLiteral("Kelmora.ini"), "[SET]\n" + row.saved);
        TMainForm1& w = open();
        EXPECT_EQ(w.pos(), row.expected);
        ASSERT_TRUE(w.FormClose());
        const QByteArray written = readFile(QStringLiteral("Kelmora.ini"));
        EXPECT_TRUE(written.contains("M_LEFT=" + QByteArray::number(row.expected.x()) + "\n")) << written.constData();
        EXPECT_TRUE(written.contains("M_TOP=" + QByteArray::number(row.expected.y()) + "\n")) << written.constData();
    }
}

TEST_F(MainFormTest, RangeAndIntervalBothSavedOnShowOneNoticeAndKeepTheInterval)
{
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nR1=0\nR2=1\nR9=0\nR10=1\n");
    TMainForm1& w = open();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QStringLiteral("カット間隔を指定する場合は カット範囲は全フレームが対象になります。"));
    EXPECT_TRUE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    EXPECT_TRUE(w.RadioButton10->isChecked());
    EXPECT_TRUE(w.SpinEdit5->isEnabled());
    EXPECT_FALSE(w.SpinEdit1->isEnabled());
}

TEST_F(MainFormTest, GroupsSavedWithNothingOnStaySoAndAreWrittenBack)
{
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nR1=0\nR2=0\nR5=0\nR6=0\nR7=0\nR8=0\nB1=\n");
    TMainForm1& w = open();
    EXPECT_FALSE(w.RadioButton1->isChecked());
    EXPECT_FALSE(w.RadioButton2->isChecked());
    for (auto* b : {w.RadioButton5, w.RadioButton6, w.RadioButton7, w.RadioButton8}) EXPECT_FALSE(b->isChecked());
    EXPECT_FALSE(w.currentSettings().RangeFromSecond);
    EXPECT_EQ(w.BrowseEdit1->GetPath(), programFolder());  // an empty B1 gives the default folder

    ASSERT_TRUE(w.FormClose());
    const QByteArray written = readFile(QStringLiteral("Kelmora.ini"));
    EXPECT_TRUE(written.contains("R1=0\n"));
    EXPECT_TRUE(written.contains("R2=0\n"));
    EXPECT_TRUE(written.contains("R5=0\n"));
}

TEST_F(MainFormTest, DetailChoicesWithoutControlsAreKeptAndAFormatButtonTurnsWebpOff)
{
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nR5=0\n[DETAIL]\nQUALITY=70\nSIZEMODE=1\nWEBP=1\nPNGLEVEL=9\n");
    const auto written = [this] { return readFile(QStringLiteral("Kelmora.ini")).replace("\r\n", "\n"); };
    TMainForm1& w = open();
    for (auto* b : {w.RadioButton5, w.RadioButton6, w.RadioButton7, w.RadioButton8}) EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(chooseOutputFormat(w.currentSettings()), ofWebp);
    ASSERT_TRUE(w.FormClose());
    for (const char* line : {"QUALITY=70\n", "SIZEMODE=1\n", "WEBP=1\n", "PNGLEVEL=9\n"})
        EXPECT_TRUE(written().contains(line)) << line;

    w.RadioButton6->click();
    EXPECT_EQ(chooseOutputFormat(w.currentSettings()), ofGif);
    ASSERT_TRUE(w.FormClose());
    for (const char* line : {"R6=1\n", "QUALITY=70\n", "WEBP=0\n"}) EXPECT_TRUE(written().contains(line)) << line;
}

TEST_F(MainFormTest, OnlyTheFirstActivationLoadsAndRegisters)
{
    writeFile(QStringLiteral("clip.mp4"));
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nS2=5\n");
    TMainForm1& w = open({path(QStringLiteral("clip.mp4"))});
    EXPECT_EQ(w.targets().size(), 1u);
    w.SpinEdit2->SetValue(9);
    w.FormActivate();
    EXPECT_EQ(w.SpinEdit2->GetValue(), 9);
    EXPECT_EQ(w.targets().size(), 1u);
}

TEST_F(MainFormTest, AnActivationDuringTheLoadsOwnNoticeLoadsAndRegistersNothing)
{
    // The conflict notice is modal: closing it activates the window again while
    // the first load is still running.
    writeFile(QStringLiteral("clip.mp4"));
    writeFile(QStringLiteral("Kelmora.ini"), "[SET1]\nR1=0\nR2=1\nR9=0\nR10=1\n");
    form = std::make_unique<TMainForm1>(programFolder(), std::vector<std::string>{path(QStringLiteral("clip.mp4"))});
    setNoticeSink([this](NoticeKind kind, const QString& text) {
        notices.push_back({kind, text});
        form->FormActivate();
    });
    form->FormActivate();
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(form->targets().size(), 1u);
    EXPECT_EQ(form->Tag(), 1);
}

TEST_F(MainFormTest, ARefusedSaveAsksWhetherToCloseWithoutSaving)
{
    TMainForm1& w = open();
    w.show();
    // A folder where the file should be: no write can succeed, even as root.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Kelmora.ini")));
    const QString question =
        QString::fromStdString(w.settingsFilePath()) + QStringLiteral(" に書き込めません\n保存せずに閉じますか？");
    struct Row {
        const char* name;
        bool answer;
        bool closes;
    };
    for (const Row& row : {Row{"いいえ keeps the window", false, false}, Row{"はい closes it", true, true}}) {
        SCOPED_TRACE(row.name);
        questions.clear();
        answers = {row.answer};
        EXPECT_EQ(w.close(), row.closes);
        EXPECT_EQ(w.isVisible(), !row.closes);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], question);
    }
    EXPECT_TRUE(notices.empty());
}

TEST_F(MainFormTest, ASettingsFileThatCannotBeTheOneGivesTheDefaultsAndTheCloseQuestion)
{
    // Reading a FIFO would block before the window is ever painted; reading a
    // huge file took half a minute and half a gigabyte.
    struct Row {
        const char* name;
        QByteArray content;  // empty: a FIFO
        QString notice;
    };
    const Row rows[] = {
        {"a FIFO", {}, QStringLiteral(" は通常のファイルではないため、設定を読み込めません。既定の設定で始めます。")},
        {"a file beyond 1 MiB", "[SET]\nM_LEFT=5\n;" + QByteArray(platform::kProfileSizeLimit, 'x'),
         QStringLiteral(" は設定ファイルとしては大きすぎる（1 MiB を超える）ため、設定を読み込めません。"
                        "既定の設定で始めます。")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        notices.clear();
        questions.clear();
        const std::string file = path(QStringLiteral("Kelmora.ini"));
        if (row.content.isEmpty()) ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
        else writeFile(QStringLiteral("Kelmora.ini"), row.content);
        TMainForm1& w = open();
        EXPECT_EQ(w.pos(), QPoint(20, 20));
        EXPECT_EQ(w.BrowseEdit1->GetPath(), programFolder());
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].text, QString::fromStdString(file) + row.notice);

        EXPECT_FALSE(w.FormClose());  // "いいえ": the window stays
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_TRUE(questions[0].endsWith(QStringLiteral("保存せずに閉じますか？")));
        struct stat st {};
        ASSERT_EQ(::lstat(file.c_str(), &st), 0);
        EXPECT_EQ(S_ISFIFO(st.st_mode), row.content.isEmpty());
        if (!row.content.isEmpty()) {
            EXPECT_TRUE(readFile(QStringLiteral("Kelmora.ini")) == row.content);
        }
        ::unlink(file.c_str());
    }
}

TEST_F(MainFormTest, AFileHeldByAnotherProgramIsWaitedForABoundedTimeWhileTheWindowRuns)
{
    // The other program's lock is a second open file description of the file:
    // flock holds it against the window's as against another process's.
    writeFile(QStringLiteral("Kelmora.ini"), "[SET]\nM_LEFT=5\n");
    for (const bool letGo : {false, true}) {
        SCOPED_TRACE(letGo ? "let go while the window waits: saved" : "never let go: the question");
        questions.clear();
        TMainForm1& w = open();
        w.show();
        const int other = ::open(path(QStringLiteral("Kelmora.ini")).c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_EQ(::flock(other, LOCK_EX), 0);
        // Runs only when the window's wait lets events through.
        bool eventsRan = false;
        QTimer::singleShot(0, [&] {
            eventsRan = true;
            if (letGo) ::close(other);
        });
        EXPECT_EQ(w.close(), letGo);
        EXPECT_TRUE(eventsRan);
        if (!letGo) ::close(other);
        const QByteArray written = readFile(QStringLiteral("Kelmora.ini"));
        EXPECT_EQ(written.contains("R1=1\n"), letGo) << written.constData();
        EXPECT_EQ(questions,
                  letGo ? std::vector<QString>{}
                        : std::vector<QString>{QString::fromStdString(w.settingsFilePath())
                                               + QStringLiteral(" に書き込めません（ほかのプログラムが使用中です）\n"
                                                                "保存せずに閉じますか？")});
    }
}

TEST_F(MainFormTest, TypingASeparatorAtTheEndOfTheFolderIsUndone)
{
    TMainForm1& w = open();
    w.BrowseEdit1->SetPath("/data/pictures/");
    EXPECT_EQ(w.BrowseEdit1->GetPath(), "/data/pictures");
    EXPECT_EQ(w.BrowseEdit1->toolTip(), QStringLiteral("/data/pictures"));
}

}  // namespace
}  // namespace kelmora::test
