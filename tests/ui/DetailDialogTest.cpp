// "詳細設定…": the picking and naming choices, from the list's menu to the
// session, the interval group's caption and hint, and Kelmora.ini.
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "controls/ShadowLabel.h"
#include "tests/ui/MainFormFixture.h"
#include "ui/DetailDialog.h"
#include "ui/TargetListMenu.h"

namespace kelmora::test {
namespace {

class DetailDialogTest : public MainFormTest {
protected:
    // Opens the dialog from the list's menu; choose sets its controls and says whether to accept.
    void openDetails(const std::function<bool(DetailDialog&)>& choose)
    {
        form->detailDialogRunner = choose;
        ASSERT_NE(form->ListMenu->detailsAction(), nullptr);
        form->ListMenu->detailsAction()->trigger();
    }
};

TEST_F(DetailDialogTest, ChoicesReachTheCaptionTheHintAndTheFile)
{
    struct Row {
        const char* name;
        std::function<void(DetailDialog&)> choose;
        QString caption;
        QString file;  // the DETAIL section written on close: the keys off their defaults
    };
    const Row rows[] = {
        {"scene changes at 20 % named by time",
         [](DetailDialog& d) {
             d.pickButton(kPickScenes)->setChecked(true);
             d.sceneThreshold()->setValue(20);
             d.namesButton(kNamesByTime)->setChecked(true);
         },
         QStringLiteral("▼カット間隔［シーン・時刻名］"), "[DETAIL]\nPICK=1\nSCENE=20\nNAMES=1\n"},
        {"every 300 s",
         [](DetailDialog& d) {
             d.pickButton(kPickEvery)->setChecked(true);
             d.everySeconds()->setValue(300);
         },
         QStringLiteral("▼カット間隔［300秒ごと］"), "[DETAIL]\nPICK=3\nEVERY=300\n"},
        {"without repeats", [](DetailDialog& d) { d.noRepeats()->setChecked(true); },
         QStringLiteral("▼カット間隔［重複なし］"), "[DETAIL]\nNOREPEAT=1\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(QString::fromStdString(path("Kelmora.ini")));
        open();
        openDetails([&](DetailDialog& d) {
            row.choose(d);
            return true;
        });
        EXPECT_EQ(form->ShadowLabel2->Caption(), row.caption);
        EXPECT_FALSE(form->ShadowLabel2->toolTip().isEmpty());
        EXPECT_GT(form->ShadowLabel2->width(), 60);
        ASSERT_TRUE(form->FormClose());
        EXPECT_TRUE(readFile("Kelmora.ini").endsWith(row.file.toUtf8())) << readFile("Kelmora.ini").toStdString();

        // Read back: the window shows the mode at once, and the dialog the choices.
        open();
        EXPECT_EQ(form->ShadowLabel2->Caption(), row.caption);
        TCutSettings shown;
        openDetails([&](DetailDialog& d) {
            shown = d.settings();
            return false;
        });
        EXPECT_EQ(shown, form->currentSettings());
    }
}

TEST_F(DetailDialogTest, AtRestAndAfterCancelNoModeShows)
{
    open();
    // At rest: the layout's caption, no hint, the defaults.
    EXPECT_EQ(form->ShadowLabel2->Caption(), QStringLiteral("▼カット間隔"));
    EXPECT_TRUE(form->ShadowLabel2->toolTip().isEmpty());
    EXPECT_EQ(form->currentSettings().PickMode, kPickPlain);
    const QRect atRest = form->ShadowLabel2->geometry();
    openDetails([](DetailDialog& d) {
        d.pickButton(kPickKeyFrames)->setChecked(true);
        return false;
    });
    EXPECT_EQ(form->currentSettings().PickMode, kPickPlain);
    openDetails([](DetailDialog& d) {
        // Only the chosen mode's own value takes input.
        EXPECT_FALSE(d.sceneThreshold()->isEnabled());
        d.pickButton(kPickKeyFrames)->setChecked(true);
        EXPECT_FALSE(d.noRepeats()->isEnabled());
        return true;
    });
    EXPECT_EQ(form->ShadowLabel2->Caption(), QStringLiteral("▼カット間隔［キーフレーム］"));
    openDetails([](DetailDialog& d) {
        d.pickButton(kPickPlain)->setChecked(true);
        return true;
    });
    EXPECT_EQ(form->ShadowLabel2->Caption(), QStringLiteral("▼カット間隔"));
    EXPECT_EQ(form->ShadowLabel2->geometry(), atRest);
    EXPECT_TRUE(form->ShadowLabel2->toolTip().isEmpty());
}

// WebP, a quality, a way to apply the size, what becomes of images already
// there: each group's caption says so,
// and WebP takes the place of the window's formats until one of them is clicked.
TEST_F(DetailDialogTest, PixelChoicesShowOnTheirGroupsAndWebpStandsForTheFormats)
{
    open();
    const QString sizeAtRest = form->SLabel15->Caption();
    openDetails([](DetailDialog& d) {
        d.webp()->setChecked(true);
        d.quality()->setValue(80);
        d.sizeModeButton(smFit)->setChecked(true);
        d.existingButton(ExistingImages::Skip)->setChecked(true);
        return true;
    });
    EXPECT_EQ(form->SLabel21->Caption(), QStringLiteral("▼保存先［カット済みはとばす］"));
    EXPECT_EQ(form->currentSettings().Existing, static_cast<int>(ExistingImages::Skip));
    EXPECT_EQ(form->ShadowLabel1->Caption(), QStringLiteral("▼保存形式［WebP・画質80］"));
    EXPECT_EQ(form->SLabel15->Caption(), sizeAtRest + QStringLiteral("［収める］"));
    EXPECT_FALSE(form->RadioButton5->isChecked());
    EXPECT_EQ(chooseOutputFormat(form->currentSettings()), ofWebp);
    form->RadioButton5->click();
    EXPECT_EQ(chooseOutputFormat(form->currentSettings()), ofJpeg);
    EXPECT_EQ(form->ShadowLabel1->Caption(), QStringLiteral("▼保存形式［画質80］"));
    openDetails([](DetailDialog& d) {
        EXPECT_FALSE(d.webp()->isChecked());
        d.quality()->setValue(0);
        d.sizeModeButton(smExact)->setChecked(true);
        d.existingButton(ExistingImages::Rename)->setChecked(true);
        return true;
    });
    EXPECT_EQ(form->SLabel21->Caption(), QStringLiteral("▼保存先"));
    EXPECT_EQ(form->ShadowLabel1->Caption(), QStringLiteral("▼保存形式"));
    EXPECT_EQ(form->SLabel15->Caption(), sizeAtRest);
}

TEST_F(DetailDialogTest, TheWindowsOwnRightButtonMenuOpensTheDialog)
{
    open();
    bool opened = false;
    form->detailDialogRunner = [&](DetailDialog&) {
        opened = true;
        return false;
    };
    QString item;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        item = menu->actions().front()->text();
        menu->actions().front()->trigger();
        menu->close();
    });
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(100, 60), form->mapToGlobal(QPoint(100, 60)));
    QApplication::sendEvent(form.get(), &press);
    EXPECT_EQ(item, QStringLiteral("詳細設定…"));
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace kelmora::test
