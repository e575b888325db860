// The window shows how far a batch is: the entry being cut is selected and in
// view, and the title reads "Kelmora (k/n)" until the batch ends.
#include <QEvent>
#include <QListView>
#include <gtest/gtest.h>

#include "tests/ui/MainFormFixture.h"

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

}  // namespace
}  // namespace kelmora::test
