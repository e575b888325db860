// Registering targets: command line, drops, folders, patterns, the sorted list, CLEAR.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <cstdio>

#include "tests/ui/MainFormFixture.h"
#include "ui/TargetListMenu.h"

namespace kelmora::test {
namespace {

QMimeData* uriList(const QByteArray& lines)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), lines);
    return data;
}

TEST_F(MainFormTest, DropsAreKeptSortedWithoutRegardToCaseAndSelectTheFirst)
{
    writeFile(QStringLiteral("v/b.avi"));
    writeFile(QStringLiteral("v/A.avi"));
    TMainForm1& w = open();
    const QByteArray base = QUrl::fromLocalFile(folder.path()).toEncoded();
    std::unique_ptr<QMimeData> first(uriList(base + "/v/b.avi\r\n"));
    w.dropTargets(*first);
    std::unique_ptr<QMimeData> second(uriList("# comment\r\n" + base + "/v/A.avi\r\n" + base + "/v/b.avi\r\n"));
    w.dropTargets(*second);
    EXPECT_EQ(w.targets(), (std::vector<std::string>{path("v/A.avi"), path("v/b.avi"), path("v/b.avi")}));
    EXPECT_EQ(w.selectedIndex(), 0);
    EXPECT_TRUE(w.SSButton10->isEnabled());
}

TEST_F(MainFormTest, ManyNamesGoInAsOneInsertInSortedOrder)
{
    writeFile(QStringLiteral("v/c.avi"));
    writeFile(QStringLiteral("v/B.avi"));
    writeFile(QStringLiteral("v/a.avi"));
    writeFile(QStringLiteral("w/sub/d.avi"));
    const std::vector<std::string> names{path("v/c.avi"), path("w"),       path("v/none.avi"),
                                         path("v/B.avi"), path("v/a.avi"), path("v/c.avi")};
    const std::vector<std::string> expected{path("v/a.avi"), path("v/a.avi"), path("v/B.avi"),    path("v/c.avi"),
                                            path("v/c.avi"), path("w/sub"),   path("w/sub/d.avi")};
    const struct {
        const char* way;
        bool dropped;
    } ways[] = {{"dropped", true}, {"command line", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        form = std::make_unique<TMainForm1>(programFolder(), way.dropped ? std::vector<std::string>{} : names);
        if (way.dropped) form->FormActivate();
        form->RegisterCutTarget(path("v/a.avi"));  // one entry is there before; the new ones merge around it
        QSignalSpy inserted(form->ListBox1->model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(form->ListBox1->model(), &QAbstractItemModel::modelReset);
        if (way.dropped) {
            QByteArray lines;
            for (const std::string& name : names)
                lines += QUrl::fromLocalFile(QString::fromStdString(name)).toEncoded() + "\r\n";
            std::unique_ptr<QMimeData> data(uriList(lines));
            form->dropTargets(*data);
        } else {
            form->FormActivate();
        }
        EXPECT_EQ(inserted.count() + reset.count(), 1);
        EXPECT_EQ(form->targets(), expected);
        EXPECT_EQ(form->selectedIndex(), 0);
        EXPECT_TRUE(form->SSButton10->isEnabled());
    }
}

TEST_F(MainFormTest, ADroppedNameThatIsNotUtf8KeepsItsBytes)
{
    const std::string name = path("v") + "/caf\xE9.avi";  // Latin-1 e acute
    QDir().mkpath(QString::fromStdString(path("v")));
    std::FILE* file = std::fopen(name.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    TMainForm1& w = open();
    std::unique_ptr<QMimeData> data(uriList("file://" + QByteArray::fromStdString(path("v")) + "/caf%E9.avi\n"));
    w.dropTargets(*data);
    std::remove(name.c_str());  // the temporary folder cannot name it
    ASSERT_EQ(w.targets().size(), 1u);
    EXPECT_EQ(w.targets()[0], name);
}

TEST_F(MainFormTest, AFolderStandsForEverythingBelowIt)
{
    writeFile(QStringLiteral("v/b.avi"));
    writeFile(QStringLiteral("v/sub/a.avi"));
    TMainForm1& w = open({path("v")});
    EXPECT_EQ(w.targets(), (std::vector<std::string>{path("v/b.avi"), path("v/sub"), path("v/sub/a.avi")}));
}

TEST_F(MainFormTest, PatternsStayAsTypedAndMissingPathsAddNothing)
{
    writeFile(QStringLiteral("v/a.avi"));
    const std::string longName = path("v/") + std::string(300, 'x');  // longer than any name allows: missing
    TMainForm1& w = open({path("v/*.avi"), path("v/none.avi"), path("v/*.mkv"), longName});
    EXPECT_EQ(w.targets(), (std::vector<std::string>{path("v/*.avi")}));
}

TEST_F(MainFormTest, ClearEmptiesTheListAndDisablesTheCutButton)
{
    writeFile(QStringLiteral("a.avi"));
    TMainForm1& w = open({path("a.avi")});
    EXPECT_TRUE(w.SSButton10->isEnabled());
    w.SSButton5Click();
    EXPECT_TRUE(w.targets().empty());
    EXPECT_FALSE(w.SSButton10->isEnabled());
    w.SSButton5Click();
    EXPECT_FALSE(w.SSButton10->isEnabled());
}

TEST_F(MainFormTest, TheListMenuAddsAsADropDoes)
{
    writeFile(QStringLiteral("v/b.avi"));
    writeFile(QStringLiteral("v/sub/a.avi"));
    writeFile(QStringLiteral("c d.avi"));
    const auto local = [this](const char* name) { return QString::fromStdString(path(QString::fromLatin1(name))); };
    const struct {
        const char* row;
        bool folder;
        QStringList answer;
        std::vector<std::string> expected;
    } rows[] = {
        {"several files",
         false,
         {local("c d.avi"), local("v/none.avi"), local("v/b.avi")},
         {path("c d.avi"), path("v/b.avi")}},
        {"a folder", true, {local("v")}, {path("v/b.avi"), path("v/sub"), path("v/sub/a.avi")}},
        {"cancelled", false, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        TMainForm1& w = open();
        QDir(folder.path()).mkdir(QStringLiteral("out"));
        w.BrowseEdit1->SetPath(path("out"));
        int asked = 0;
        std::vector<QString> starts;
        w.ListMenu->setDialogs(
            [&](QWidget* parent, const QString& start) {
                ++asked;
                starts.push_back(start);
                EXPECT_EQ(parent, &w);
                return row.answer;
            },
            [&](QWidget*, const QString& start) {
                ++asked;
                starts.push_back(start);
                return row.answer.value(0);
            });
        (row.folder ? w.ListMenu->addFolderAction() : w.ListMenu->addFilesAction())->trigger();
        EXPECT_EQ(asked, 1);
        // The first picker opens at the destination, the next where the last pick came from.
        (row.folder ? w.ListMenu->addFolderAction() : w.ListMenu->addFilesAction())->trigger();
        const QString next = row.answer.isEmpty() ? local("out")
                             : row.folder         ? row.answer.front()
                                                  : QFileInfo(row.answer.front()).absolutePath();
        EXPECT_EQ(starts, (std::vector<QString>{local("out"), next}));
        w.SSButton5Click();
        (row.folder ? w.ListMenu->addFolderAction() : w.ListMenu->addFilesAction())->trigger();
        EXPECT_EQ(w.targets(), row.expected);
        EXPECT_EQ(w.selectedIndex(), row.expected.empty() ? -1 : 0);
        EXPECT_EQ(w.SSButton10->isEnabled(), !row.expected.empty());
    }
}

TEST_F(MainFormTest, DeleteAndTheListMenuRemoveEntries)
{
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) writeFile(QString::fromLatin1(name));
    TMainForm1& w = open({path("a.avi"), path("b.avi"), path("c.avi")});
    w.show();
    w.ListBox1->selectionModel()->setCurrentIndex(w.ListBox1->model()->index(1, 0),
                                                  QItemSelectionModel::ClearAndSelect);

    // Delete removes the selected entry; the one after it takes the selection.
    QTest::keyClick(w.ListBox1, Qt::Key_Delete);
    EXPECT_EQ(w.targets(), (std::vector<std::string>{path("a.avi"), path("c.avi")}));
    EXPECT_EQ(w.selectedIndex(), 1);
    // The last entry removed: the one before it is selected.
    w.ListMenu->removeSelectedAction()->trigger();
    EXPECT_EQ(w.targets(), (std::vector<std::string>{path("a.avi")}));
    EXPECT_EQ(w.selectedIndex(), 0);
    QTest::keyClick(w.ListBox1, Qt::Key_Delete);
    EXPECT_TRUE(w.targets().empty());
    EXPECT_FALSE(w.SSButton10->isEnabled());

    // The right button opens the menu; with nothing selected there is nothing to remove.
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(20, 10),
                            w.ListBox1->viewport()->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(w.ListBox1->viewport(), &press);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ListMenu->menu()->isVisible(); }));
    EXPECT_TRUE(w.ListMenu->addFilesAction()->isEnabled());
    EXPECT_TRUE(w.ListMenu->addFolderAction()->isEnabled());
    EXPECT_FALSE(w.ListMenu->removeSelectedAction()->isEnabled());
    EXPECT_TRUE(w.ListMenu->removeAllAction()->isEnabled());
    w.ListMenu->menu()->hide();
}

// The images of an earlier cut are never targets: a folder holding the
// destination registers what it holds beside it, never the destination.
TEST_F(MainFormTest, AFolderHoldingTheDestinationPassesItOver)
{
    for (const char* name : {"v/a.avi", "v/stills/a_00001.jpg", "v/stills/deep/b.avi"}) writeFile(name);
    QDir(folder.path()).mkdir(QStringLiteral("v/sub"));
    TMainForm1& w = open();
    const struct {
        const char* way;
        std::string destination;
        std::string target;
    } rows[] = {
        {"the folder", path("v/stills"), path("v")},
        {"the folder as \".\"", path("v/stills"), path("v") + "/."},
        {"a destination typed with a separator", path("v/stills") + "/", path("v")},
        {"the destination itself", path("v/stills"), path("v/stills")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.way);
        w.SSButton5Click();
        w.BrowseEdit1->SetPath(row.destination);
        w.RegisterCutTarget(row.target);
        for (const std::string& entry : w.targets()) EXPECT_EQ(entry.find("stills"), std::string::npos) << entry;
        EXPECT_EQ(w.targets().size(), row.target == path("v/stills") ? 0u : 2u);
    }
}

}  // namespace
}  // namespace kelmora::test
