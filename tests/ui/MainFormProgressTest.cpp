// The window shows how far a batch is: the entry being cut is selected and in
// view, the title reads "Kelmora (k/n)" and the drawn caption carries the
// count until the batch ends, and each entry shows its state.
#include <QEvent>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/FakeExtractorHold.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/HelpLinks.h"

namespace kelmora::test {
namespace {

// Notes every change of the title, with the entry selected then and whether it was in view.
struct TitleWatch : QObject {
    struct Step {
        QString title;
        int selected;
        bool inView;
    };
    TMainForm1& form;
    std::vector<Step> steps;
    explicit TitleWatch(TMainForm1& f) : form(f) { f.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::WindowTitleChange) {
            const QRect row = form.ListBox1->visualRect(form.ListBox1->currentIndex());
            steps.push_back(
                {form.windowTitle(), form.selectedIndex(), form.ListBox1->viewport()->rect().contains(row)});
        }
        return false;
    }
};

TEST_F(MainFormTest, TheTitleAndTheSelectionFollowTheBatch)
{
    ASSERT_TRUE(QFile::link(QStringLiteral(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg"),
                            QString::fromStdString(path(QStringLiteral("ffmpeg")))));
    // More entries than the list shows at once, and a folder found below a
    // registered one, which gets no run: entry 16 of 31.
    std::vector<std::string> targets;
    for (int i = 10; i < 40; ++i) {
        writeFile(QStringLiteral("v%1.mp4").arg(i));
        targets.push_back(path(QStringLiteral("v%1.mp4").arg(i)));
    }
    QDir(folder.path()).mkpath(QStringLiteral("v25 folder/inner"));
    targets.push_back(path(QStringLiteral("v25 folder")));
    TMainForm1& w = open(targets);
    w.BrowseEdit1->SetPath(path(QStringLiteral("out")));
    w.show();
    TitleWatch watch(w);
    w.SSButton10Click();

    ASSERT_EQ(watch.steps.size(), 31u);
    for (std::size_t k = 0; k < 30; ++k) {
        const int number = static_cast<int>(k < 15 ? k + 1 : k + 2);
        EXPECT_EQ(watch.steps[k].title, QStringLiteral("Kelmora (%1/31)").arg(number)) << k;
        EXPECT_EQ(watch.steps[k].selected, number - 1) << k;
        EXPECT_TRUE(watch.steps[k].inView) << k;
    }
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kelmora"));
}

// The list's rows as drawn.
std::vector<std::string> rowTexts(const TMainForm1& w)
{
    std::vector<std::string> rows;
    for (int row = 0; row < w.ListBox1->model()->rowCount(); ++row)
        rows.push_back(w.ListBox1->model()->index(row, 0).data().toString().toStdString());
    return rows;
}

TEST_F(MainFormTest, TheCaptionCountsAndEachEntryShowsItsState)
{
    // The prober beside the extractor gives every video 2 seconds; a run
    // reports half a second done before it waits.
    for (const char* name : {"ffmpeg", "ffprobe"})
        ASSERT_TRUE(QFile::link(QStringLiteral(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg"),
                                QString::fromStdString(path(QString::fromLatin1(name)))));
    qputenv("KELMORA_FAKE_DURATION", "2.0");
    const std::string hold = path(QStringLiteral("hold"));
    ASSERT_TRUE(makeFakeExtractorHold(hold));
    qputenv("KELMORA_FAKE_HOLD", QByteArray::fromStdString(hold));
    qputenv("KELMORA_FAKE_HOLD_NAME", "a.avi");
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) writeFile(QString::fromLatin1(name));
    QDir(folder.path()).mkpath(QStringLiteral("d folder/inner"));  // a folder below one registered: no run
    TMainForm1& w = open({path(QStringLiteral("a.avi")), path(QStringLiteral("b.avi")), path(QStringLiteral("c.avi")),
                          path(QStringLiteral("d folder"))});
    w.BrowseEdit1->SetPath(path(QStringLiteral("out")));
    w.show();
    const QString resting = w.SLabel1->Caption();
    const QRect restingBounds = w.SLabel1->geometry();
    EXPECT_TRUE(resting.startsWith(QStringLiteral("◆ Kelmora ver.")));
    const std::vector<std::string> before = rowTexts(w);
    QFile::remove(QString::fromStdString(path(QStringLiteral("b.avi"))));  // gone before its turn

    QString captionDuringRun;
    std::vector<std::string> rowsDuringRun;
    QTimer::singleShot(0, &w, [&] {
        HeldRun held(hold);  // a has written its images and its progress, and waits
        EXPECT_TRUE(QTest::qWaitFor([&] { return rowTexts(w).front().rfind("［カット中 25%］", 0) == 0; }));
        captionDuringRun = w.SLabel1->Caption();
        rowsDuringRun = rowTexts(w);
    });
    w.SSButton10Click();
    qunsetenv("KELMORA_FAKE_HOLD");
    qunsetenv("KELMORA_FAKE_HOLD_NAME");
    qunsetenv("KELMORA_FAKE_DURATION");

    const std::string a = path(QStringLiteral("a.avi"));
    const std::string b = path(QStringLiteral("b.avi"));
    const std::string c = path(QStringLiteral("c.avi"));
    const std::string d = path(QStringLiteral("d folder/inner"));
    EXPECT_EQ(before, (std::vector<std::string>{a, b, c, d}));
    EXPECT_EQ(captionDuringRun.toStdString(), resting.toStdString() + " — 1/4");
    EXPECT_EQ(rowsDuringRun,
              (std::vector<std::string>{"［カット中 25%］" + a, "［待機中］" + b, "［待機中］" + c, "［待機中］" + d}));
    EXPECT_EQ(rowTexts(w), (std::vector<std::string>{"［完了 3枚］" + a, "［失敗：見つかりませんでした］" + b,
                                                     "［完了 3枚］" + c, "［スキップ］" + d}));
    // At rest again, the caption is drawn as before the batch.
    EXPECT_EQ(w.SLabel1->Caption().toStdString(), resting.toStdString());
    EXPECT_EQ(w.SLabel1->geometry(), restingBounds);
}

// After a batch, the list's strip sums it up, and a click on the summary
// opens the folder the images went to; at rest, there is no summary.
TEST_F(MainFormTest, TheSummaryOfABatchOpensItsFolder)
{
    ASSERT_TRUE(QFile::link(QStringLiteral(KELMORA_FAKE_EXTRACTOR_DIR "/ffmpeg"),
                            QString::fromStdString(path(QStringLiteral("ffmpeg")))));
    std::vector<std::string> opened;
    setLinkOpener([&opened](const std::string& link) { opened.push_back(link); });
    const struct {
        const char* name;
        std::vector<const char*> videos;
        const char* missing;  // gone before its turn
        std::string summary;
    } rows[] = {
        {"all cut", {"a.avi", "b.avi"}, nullptr, "完了 2本 6枚 ▶開く"},
        {"one failed", {"a.avi", "b.avi", "c.avi"}, "b.avi", "完了 2本 6枚 失敗 1 ▶開く"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> targets;
        for (const char* video : row.videos) {
            writeFile(QString::fromLatin1(video));
            targets.push_back(path(QString::fromLatin1(video)));
        }
        TMainForm1& w = open(targets);
        w.BrowseEdit1->SetPath(path(QStringLiteral("out/") + QString::fromLatin1(row.name)));
        w.show();
        EXPECT_FALSE(w.SummaryPanel->isVisible());
        if (row.missing) QFile::remove(QString::fromStdString(path(QString::fromLatin1(row.missing))));
        w.SSButton10Click();
        ASSERT_TRUE(w.SummaryPanel->isVisible());
        EXPECT_EQ(w.SummaryButton->Caption().toStdString(), row.summary);
        opened.clear();
        QTest::mouseClick(w.SummaryButton, Qt::LeftButton);
        EXPECT_EQ(opened, std::vector<std::string>{path(QStringLiteral("out/") + QString::fromLatin1(row.name))});
        form.reset();
    }
    setLinkOpener(nullptr);
}

}  // namespace
}  // namespace kelmora::test
