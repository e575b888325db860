// The cut button's batch and the start-second preview, with the fake extractor.
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

#include "cut/UnfinishedBatch.h"
#include "platform/System.h"
#include "tests/support/FakeExtractorHold.h"
#include "tests/support/FakeExtractorLog.h"
#include "tests/ui/MainFormFixture.h"

namespace kelmora::test {
namespace {

class MainFormBatchTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        // The extractor beside the program is found before any on PATH.
        ASSERT_TRUE(QFile::link(QStringLiteral(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg"),
                                QString::fromStdString(path(QStringLiteral("ffmpeg")))));
        qputenv("KELMORA_FAKE_LOG", QByteArray::fromStdString(path(QStringLiteral("runs.log"))));
        qputenv("KELMORA_FAKE_EXIT", "0");
    }
    void TearDown() override
    {
        MainFormTest::TearDown();
        for (const char* name : {"KELMORA_FAKE_LOG", "KELMORA_FAKE_EXIT", "KELMORA_FAKE_HOLD", "KELMORA_FAKE_HOLD_NAME",
                                 "KELMORA_FAKE_PREVIEW_BYTES"})
            qunsetenv(name);
        if (!savedPath.isNull()) qputenv("PATH", savedPath);
    }

    // No extractor anywhere: none beside the program, none on PATH.
    void removeExtractor()
    {
        QFile::remove(QString::fromStdString(path(QStringLiteral("ffmpeg"))));
        savedPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(path(QStringLiteral("nowhere"))));
    }

    TMainForm1& openWith(std::initializer_list<const char*> names)
    {
        std::vector<std::string> targets;
        for (const char* name : names) {
            writeFile(QString::fromLatin1(name));
            targets.push_back(path(QString::fromLatin1(name)));
        }
        TMainForm1& w = open(targets);
        w.BrowseEdit1->SetPath(path(QStringLiteral("out")));
        return w;
    }

    // Runs of inputs containing name wait until the test lets them go (HeldRun on hold()).
    void holdRunsOf(const char* name)
    {
        ASSERT_TRUE(makeFakeExtractorHold(hold()));
        qputenv("KELMORA_FAKE_HOLD", QByteArray::fromStdString(hold()));
        qputenv("KELMORA_FAKE_HOLD_NAME", name);
    }
    std::string hold() const { return path(QStringLiteral("hold")); }

    std::vector<FakeExtractorRun> runs() const { return readFakeExtractorLog(path(QStringLiteral("runs.log"))); }
    static std::string output(const FakeExtractorRun& run) { return run.empty() ? std::string() : run.back(); }

    QByteArray savedPath;
};

TEST_F(MainFormBatchTest, EveryEntryRunsOnceInListOrderThenBeepsAndSetsTheFinishFlag)
{
    TMainForm1& w = openWith({"c.avi", "A.avi", "b.avi"});
    w.SSButton10Click();
    const auto all = runs();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(output(all[0]), path(QStringLiteral("out/A_%05d.jpg")));
    EXPECT_EQ(output(all[1]), path(QStringLiteral("out/b_%05d.jpg")));
    EXPECT_EQ(output(all[2]), path(QStringLiteral("out/c_%05d.jpg")));
    EXPECT_TRUE(platform::fileExists(path(QStringLiteral("out/b_00001.jpg"))));
    EXPECT_EQ(beeps.count, 1);
    EXPECT_EQ(w.Panel10->ImageList1.Tag, 1);
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(w.batchRunning());
}

TEST_F(MainFormBatchTest, AMissingExtractorStopsWithABeepAndANotice)
{
    TMainForm1& w = openWith({"a.avi", "b.avi"});
    removeExtractor();
    w.SSButton10Click();
    EXPECT_EQ(beeps.count, 1);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QStringLiteral("ffmpeg を起動できませんでした。処理を中止します。"));
    EXPECT_EQ(w.Panel10->ImageList1.Tag, 0);
}

TEST_F(MainFormBatchTest, TheDestinationIsCreatedWithItsParentsBeforeTheFirstRun)
{
    TMainForm1& w = openWith({"a.avi"});
    w.BrowseEdit1->SetPath(path(QStringLiteral("new/sub/dir")));
    w.SSButton10Click();
    EXPECT_TRUE(platform::folderExists(path(QStringLiteral("new/sub/dir"))));
    EXPECT_TRUE(platform::fileExists(path(QStringLiteral("new/sub/dir/a_00001.jpg"))));
}

// The system's reason reads in the window's language, and the summary of the
// batch before, whose folder the user turned away from, goes.
TEST_F(MainFormBatchTest, ADestinationThatCannotBeMadeSaysWhyInJapanese)
{
    TMainForm1& w = openWith({"a.avi"});
    w.show();
    w.SSButton10Click();
    ASSERT_TRUE(w.SummaryPanel->isVisible());
    QFile::remove(QString::fromStdString(path(QStringLiteral("runs.log"))));
    writeFile(QStringLiteral("blocker"));
    w.BrowseEdit1->SetPath(path(QStringLiteral("blocker/out")));
    w.SSButton10Click();
    EXPECT_TRUE(runs().empty());
    EXPECT_FALSE(w.SummaryPanel->isVisible());
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices[0].text,
              QStringLiteral("保存先のフォルダ「") + QString::fromStdString(path(QStringLiteral("blocker/out")))
                  + QStringLiteral("」を作成できませんでした。\n途中にフォルダではないファイルがあります"));
}

TEST_F(MainFormBatchTest, AnEmptyDestinationAbortsBeforeAnyRun)
{
    TMainForm1& w = openWith({"a.avi"});
    w.BrowseEdit1->SetPath("");
    w.SSButton10Click();
    EXPECT_TRUE(runs().empty());
    EXPECT_EQ(beeps.count, 1);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QStringLiteral("非対応フォーマットが含まれていました。処理を中止します。"));
    EXPECT_EQ(w.Panel10->ImageList1.Tag, 0);
}

TEST_F(MainFormBatchTest, OptionsChangedDuringARunApplyToTheNextEntry)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi", "b.avi"});
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());  // a is at work
        w.RadioButton7->click();
    });
    w.SSButton10Click();
    const auto all = runs();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(output(all[0]), path(QStringLiteral("out/a_%05d.jpg")));
    EXPECT_EQ(output(all[1]), path(QStringLiteral("out/b_%05d.png")));
}

TEST_F(MainFormBatchTest, ClearDuringARunEndsTheBatchAfterIt)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi", "b.avi", "c.avi"});
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        w.SSButton5Click();
    });
    w.SSButton10Click();
    EXPECT_EQ(runs().size(), 1u);
    EXPECT_EQ(beeps.count, 1);
    EXPECT_EQ(w.Panel10->ImageList1.Tag, 1);
}

TEST_F(MainFormBatchTest, ASecondClickWhileRunningIsIgnored)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi", "b.avi"});
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        w.SSButton10Click();
    });
    w.SSButton10Click();
    EXPECT_EQ(runs().size(), 2u);
    EXPECT_EQ(beeps.count, 1);
}

TEST_F(MainFormBatchTest, FailedRunsAreListedAndTheFinishFlagStaysOff)
{
    qputenv("KELMORA_FAKE_EXIT", "1");
    TMainForm1& w = openWith({"a.avi", "b.avi"});
    w.SSButton10Click();
    EXPECT_EQ(runs().size(), 2u);
    EXPECT_EQ(beeps.count, 1);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text.toStdString(), "次のファイルを変換できませんでした。\n" + path(QStringLiteral("a.avi"))
                                                 + "（終了コード 1）\n" + path(QStringLiteral("b.avi"))
                                                 + "（終了コード 1）");
    EXPECT_EQ(w.Panel10->ImageList1.Tag, 0);
}

TEST(FailedRunsNotice, EachReasonInTheWindowsWordsTenEntriesThenACount)
{
    const auto failure = [](CutReason why, std::string detail = {}, int status = 0) {
        CutFailure f;
        f.why = why;
        f.detail = std::move(detail);
        f.exitStatus = status;
        f.exitSignal = status;
        return f;
    };
    const std::pair<CutFailure, const char*> rows[] = {
        {failure(CutReason::ExitStatus, {}, 1), "終了コード 1"},
        {failure(CutReason::ExitStatus, "Invalid data found when processing input", 1),
         "Invalid data found when processing input"},
        {failure(CutReason::Signal, {}, 9), "シグナル 9 で終了しました"},
        {failure(CutReason::NoImage), "画像が書き出されませんでした"},
        {failure(CutReason::NotFound), "見つかりませんでした"},
        {failure(CutReason::NotStarted, "ffmpeg: Exec format error"), "起動できませんでした"},
        {failure(CutReason::Stopped), "途中で中止しました"},
        {failure(CutReason::NotRun), "中止のため未変換"},
    };
    for (const auto& [why, words] : rows) {
        SCOPED_TRACE(words);
        EXPECT_EQ(failedRunsNotice({{"a", why}}), QStringLiteral("次のファイルを変換できませんでした。\na（")
                                                      + QString::fromUtf8(words) + QStringLiteral("）"));
    }
    std::vector<FailedEntry> many;
    for (int i = 0; i < 12; ++i) many.push_back({"f" + std::to_string(i), failure(CutReason::NoImage)});
    const QString text = failedRunsNotice(many);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nf9（画像が書き出されませんでした）\nほか 2 件")));
    EXPECT_FALSE(text.contains(QStringLiteral("f10")));
}

TEST_F(MainFormBatchTest, ClosingDuringABatchSavesAtOnceAndClosesWhenItEnds)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    w.show();
    bool savedWhileRunning = false;
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        w.close();
        savedWhileRunning = w.isVisible() && platform::fileExists(w.settingsFilePath());
    });
    w.SSButton10Click();
    EXPECT_TRUE(savedWhileRunning);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainFormBatchTest, AClosePutOffByARefusedSaveIsNotRepeatedAfterTheNextBatch)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    w.show();
    const QString ini = QString::fromStdString(w.settingsFilePath());
    // The save at the close is refused: a folder stands where the file goes.
    QDir().mkdir(ini);
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        w.close();
    });
    w.SSButton10Click();
    EXPECT_TRUE(w.isVisible());
    qunsetenv("KELMORA_FAKE_HOLD");  // the next batch runs through
    QDir().rmdir(ini);
    w.SSButton10Click();
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainFormBatchTest, AClosePutOffUntilTheBatchEndsSavesOnce)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    w.show();
    const QString ini = QString::fromStdString(w.settingsFilePath());
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        w.close();  // "いいえ": cut on and close at the end
        // A second save would now be refused and keep the window open.
        QFile::remove(ini);
        QDir().mkdir(ini);
    });
    w.SSButton10Click();
    EXPECT_EQ(questions, std::vector<QString>{QStringLiteral("カット中です。中止して閉じますか？")});
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(notices.empty());
}

TEST_F(MainFormBatchTest, StoppingABatchEndsTheRunningExtractorAndNamesWhatWasNotFinished)
{
    struct Row {
        const char* name;
        std::function<void(TMainForm1&)> ask;  // how the user asks, answered "はい"
        QString question;
        bool closes;
    };
    const Row rows[] = {
        {"Esc in the list", [](TMainForm1& w) { QTest::keyClick(w.ListBox1, Qt::Key_Escape); },
         QStringLiteral("カットを中止しますか？"), false},
        {"Esc in the destination field", [](TMainForm1& w) { QTest::keyClick(w.BrowseEdit1, Qt::Key_Escape); },
         QStringLiteral("カットを中止しますか？"), false},
        {"the close button", [](TMainForm1& w) { w.close(); }, QStringLiteral("カット中です。中止して閉じますか？"),
         true},
    };
    holdRunsOf("a.avi");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(QString::fromStdString(path(QStringLiteral("runs.log"))));
        QFile::remove(QString::fromStdString(programFolder() + "/Kelmora.ini"));
        QFile::remove(QString::fromStdString(programFolder() + "/" + kUnfinishedBatchName));
        QDir(QString::fromStdString(path(QStringLiteral("out")))).removeRecursively();
        questions.clear();
        notices.clear();
        TMainForm1& w = openWith({"a.avi", "b.avi"});
        w.show();
        QTimer::singleShot(0, &w, [&] {
            HeldRun held(hold());  // a has written its images and waits
            answers = {true};
            row.ask(w);
        });
        w.SSButton10Click();
        EXPECT_EQ(questions, std::vector<QString>{row.question});
        EXPECT_EQ(runs().size(), 1u);
        // Killed while it held, the run may have been writing its last image: that one goes.
        EXPECT_TRUE(platform::fileExists(path(QStringLiteral("out/a_00002.jpg"))));
        EXPECT_FALSE(platform::fileExists(path(QStringLiteral("out/a_00003.jpg"))));
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].text.toStdString(), "次のファイルを変換できませんでした。\n"
                                                     + path(QStringLiteral("a.avi")) + "（途中で中止しました）\n"
                                                     + path(QStringLiteral("b.avi")) + "（中止のため未変換）");
        EXPECT_EQ(w.isVisible(), !row.closes);
        EXPECT_EQ(platform::fileExists(w.settingsFilePath()), row.closes);
        EXPECT_EQ(w.Panel10->ImageList1.Tag, 0);
    }

    // Closed midway, the next start offers to go on: the stopped run's images
    // go, and both videos are cut whole under their own names.
    qunsetenv("KELMORA_FAKE_HOLD");
    questions.clear();
    answers = {true};
    TMainForm1& again = open();
    again.show();
    EXPECT_EQ(questions, std::vector<QString>{QStringLiteral(
                             "前回のカットは途中で中止されました。残りの 2 本の動画をカットしますか？")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.SummaryPanel->isVisible(); }));
    EXPECT_EQ(QDir(QString::fromStdString(path(QStringLiteral("out")))).entryList(QDir::Files),
              (QStringList{"a_00001.jpg", "a_00002.jpg", "a_00003.jpg", "b_00001.jpg", "b_00002.jpg", "b_00003.jpg"}));
    // Asked once: the offer is gone once taken.
    form.reset();
    questions.clear();
    open();
    EXPECT_TRUE(questions.empty());
}

TEST_F(MainFormBatchTest, AnEntryDroppedDuringARunIsCutAndNoneTwice)
{
    holdRunsOf("b.mp4");
    TMainForm1& w = openWith({"b.mp4", "c.mp4"});
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold());
        writeFile(QStringLiteral("a.mp4"));
        w.RegisterCutTarget(path(QStringLiteral("a.mp4")));  // sorts before the running b
    });
    w.SSButton10Click();
    std::vector<std::string> outputs;
    for (const auto& run : runs()) outputs.push_back(output(run));
    EXPECT_EQ(outputs,
              (std::vector<std::string>{path(QStringLiteral("out/b_%05d.jpg")), path(QStringLiteral("out/a_%05d.jpg")),
                                        path(QStringLiteral("out/c_%05d.jpg"))}));
}

TEST_F(MainFormBatchTest, TheDestinationFieldKeepsTypedSeparatorsUntilItIsLeft)
{
    struct Row {
        const char* typed;
        int backspaces;
        const char* field;  // while the user types
        const char* used;   // by the cut, the save and the hint, and the field once left
    };
    TMainForm1& w = open();
    for (const Row& row : {Row{"/home/u/out1/", 0, "/home/u/out1/", "/home/u/out1"},
                           Row{"/home/u/ab", 2, "/home/u/", "/home/u"}, Row{"/", 0, "/", "/"}}) {
        SCOPED_TRACE(row.typed);
        w.BrowseEdit1->SetPath("");
        QTest::keyClicks(w.BrowseEdit1, QString::fromUtf8(row.typed));
        for (int i = 0; i < row.backspaces; ++i) QTest::keyClick(w.BrowseEdit1, Qt::Key_Backspace);
        EXPECT_EQ(w.BrowseEdit1->GetPath(), row.field);
        EXPECT_EQ(w.currentSettings().DestinationFolder, row.used);
        EXPECT_EQ(w.BrowseEdit1->toolTip().toStdString(), row.used);
        QFocusEvent leave(QEvent::FocusOut);
        QCoreApplication::sendEvent(w.BrowseEdit1, &leave);
        EXPECT_EQ(w.BrowseEdit1->GetPath(), row.used);
    }
}

TEST_F(MainFormBatchTest, ARunEndingUnderAModalWindowIsNotSignalledOverAndOver)
{
    // A modal window opened during a run holds the wait until it closes; the
    // run's end must not keep waking the program meanwhile.
    struct CountNotifierEvents : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::SockAct) ++count;
            return false;
        }
    } counter;
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    QTimer::singleShot(0, &w, [&] {
        QEventLoop modal;
        QTimer::singleShot(0, &modal, [&] {
            {
                HeldRun held(hold());
            }  // the run ends while the modal window is up...
            EXPECT_TRUE(QTest::qWaitFor([&counter] { return counter.count > 0; }));
            // ...and its end is not signalled again however often the program looks.
            for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
            modal.quit();
        });
        QCoreApplication::instance()->installEventFilter(&counter);
        modal.exec();
        QCoreApplication::instance()->removeEventFilter(&counter);
    });
    w.SSButton10Click();
    EXPECT_EQ(runs().size(), 1u);
    // Once for each thing the run says, never again: its end, its standard
    // error's end, its progress report (a block, then the report's end).
    EXPECT_LE(counter.count, 4);
}

// The preview panel is up (it shows once its run has ended).
bool previewShown(const TMainForm1& w)
{
    return QTest::qWaitFor([&w] { return !w.Panel11->isHidden(); });
}

// The red of the shown picture: the fake extractor draws the start second there.
int shownSecond(const TMainForm1& w) { return qRed(w.Image2->pixmap().toImage().pixel(40, 30)); }

TEST_F(MainFormBatchTest, ThePreviewShowsTheBitmapAndDeletesIt)
{
    TMainForm1& w = openWith({"a.avi"});
    w.RadioButton2->click();
    w.SpinEdit1->SetValue(12);
    ASSERT_TRUE(previewShown(w));
    const auto all = runs();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0][0], "-ss");
    EXPECT_EQ(all[0][1], "12");
    ASSERT_FALSE(w.Image2->pixmap().isNull());
    EXPECT_EQ(w.Image2->pixmap().size(), QSize(80, 60));
    EXPECT_EQ(shownSecond(w), 12);
    EXPECT_FALSE(platform::fileExists(w.previewFilePath()));
    EXPECT_TRUE(w.Timer2->isActive());
    w.Timer2Timer();
    EXPECT_TRUE(w.Panel11->isHidden());
    EXPECT_FALSE(w.Timer2->isActive());
}

TEST_F(MainFormBatchTest, NoPreviewWhileTheListIsEmpty)
{
    TMainForm1& w = open();
    w.SpinEdit1->SetValue(5);
    EXPECT_TRUE(runs().empty());
    EXPECT_TRUE(w.Panel11->isHidden());
}

TEST_F(MainFormBatchTest, ThePictureComesWhenItsRunEndsWithoutHoldingTheWindow)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    w.RadioButton2->click();
    w.SpinEdit1->SetValue(7);  // returns while the run goes on
    {
        HeldRun held(hold());  // the run has written its picture and waits
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.Panel11->isHidden());
        EXPECT_TRUE(w.Image2->pixmap().isNull());
    }
    ASSERT_TRUE(previewShown(w));
    EXPECT_EQ(shownSecond(w), 7);
    EXPECT_TRUE(w.Timer2->isActive());  // its two seconds start now
    EXPECT_FALSE(platform::fileExists(w.previewFilePath()));
}

TEST_F(MainFormBatchTest, ANewerStepEndsTheOlderRunAndShowsOnlyItsOwnSecond)
{
    holdRunsOf("a.avi");
    TMainForm1& w = openWith({"a.avi"});
    w.RadioButton2->click();
    w.SpinEdit1->SetValue(5);  // held: slow to end
    // It has written second 5 and still runs when the user steps on.
    ASSERT_TRUE(QTest::qWaitFor([&w] { return platform::fileExists(w.previewFilePath()); }));
    qunsetenv("KELMORA_FAKE_HOLD");  // the next run goes through
    w.SpinEdit1->SetValue(9);
    ASSERT_TRUE(previewShown(w));
    EXPECT_EQ(shownSecond(w), 9);
    EXPECT_EQ(runs().size(), 2u);
    // The older run is gone: nobody waits on the hold any more, and it leaves no late file.
    const int writer = ::open(hold().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(writer, -1);
    if (writer >= 0) ::close(writer);
    QCoreApplication::processEvents();
    EXPECT_FALSE(platform::fileExists(w.previewFilePath()));
    EXPECT_EQ(shownSecond(w), 9);
    EXPECT_TRUE(notices.empty());
}

TEST_F(MainFormBatchTest, ALeftoverAtThePreviewsNameIsRemovedFirstAndNeverFollowed)
{
    const struct {
        const char* row;
        bool link;  // a symbolic link to a file of the user's, else a file that is no bitmap
        bool extractor;
    } rows[] = {
        {"link planted there", true, true},
        {"unreadable leftover, no extractor", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        notices.clear();
        TMainForm1& w = openWith({"a.avi"});
        if (!row.extractor) removeExtractor();
        const QString preview = QString::fromStdString(w.previewFilePath());
        QFile::remove(preview);
        writeFile(QStringLiteral("precious.txt"), "keep me");
        if (row.link) ASSERT_TRUE(QFile::link(QString::fromStdString(path(QStringLiteral("precious.txt"))), preview));
        else writeFile(QStringLiteral("_thumb.bmp"), "not a bitmap");
        w.SpinEdit1->SetValue(3);
        ASSERT_TRUE(previewShown(w));
        EXPECT_TRUE(notices.empty());
        EXPECT_EQ(w.Image2->pixmap().isNull(), !row.extractor);
        EXPECT_FALSE(QFileInfo(preview).exists() || QFileInfo(preview).isSymLink());
        EXPECT_EQ(readFile(QStringLiteral("precious.txt")), QByteArray("keep me"));
        if (!row.extractor) {
            QFile::link(QStringLiteral(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg"),
                        QString::fromStdString(path(QStringLiteral("ffmpeg"))));
            qputenv("PATH", savedPath);
        }
    }
}

TEST_F(MainFormBatchTest, AnUnreadablePictureIsReportedOnceAndRemoved)
{
    qputenv("KELMORA_FAKE_PREVIEW_BYTES", "not a bitmap");
    TMainForm1& w = openWith({"a.avi"});
    w.SpinEdit1->SetValue(3);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notices.empty(); }));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, NoticeKind::Error);
    EXPECT_FALSE(platform::fileExists(w.previewFilePath()));
    EXPECT_TRUE(w.Panel11->isHidden());

    // The next step has a good picture, and nothing more is reported.
    qunsetenv("KELMORA_FAKE_PREVIEW_BYTES");
    w.SpinEdit1->SetValue(4);
    ASSERT_TRUE(previewShown(w));
    EXPECT_EQ(shownSecond(w), 4);
    EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
}  // namespace kelmora::test
