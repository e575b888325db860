#pragma once
// The target list's right-button menu and keys: files and a folder added
// through a dialog, the selected entry or every entry removed. Delete removes
// the selected entry. The list itself stays the window's: the menu only asks
// for what to add and hands it to the window's registration.

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QListView;
class QMenu;
class QWidget;

namespace kelmora {

class TargetListMenu : public QObject {
    Q_OBJECT
public:
    // What the window does for the menu.
    struct Handlers {
        std::function<void(const std::vector<std::string>& paths)> add;  // registered as a drop is
        std::function<void()> removeSelected;
        std::function<void()> removeAll;
        // Where a dialog opens before anything was picked: the destination.
        std::function<std::string()> destination;
        // "詳細設定…": the window's dialog of further cut choices; no item without it.
        std::function<void()> details;
    };
    // How files and a folder are asked for, starting in startFolder (the
    // folder of the last pick, else the destination, else home): an empty
    // answer adds nothing. The defaults are the toolkit's own dialogs; tests
    // answer without one.
    using FilesDialog = std::function<QStringList(QWidget* parent, const QString& startFolder)>;
    using FolderDialog = std::function<QString(QWidget* parent, const QString& startFolder)>;

    TargetListMenu(QListView* list, Handlers handlers);

    void setDialogs(FilesDialog files, FolderDialog folder);

    QMenu* menu() const { return m_menu; }
    QAction* addFilesAction() const { return m_addFiles; }
    QAction* addFolderAction() const { return m_addFolder; }
    QAction* removeSelectedAction() const { return m_removeSelected; }
    QAction* removeAllAction() const { return m_removeAll; }
    QAction* detailsAction() const { return m_details; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addFiles();
    void addFolder();
    void updateActions();
    QString startFolder() const;

    QListView* m_list;
    Handlers m_handlers;
    FilesDialog m_filesDialog;
    FolderDialog m_folderDialog;
    QString m_lastFolder;  // where the last pick came from
    QMenu* m_menu;
    QAction* m_addFiles;
    QAction* m_addFolder;
    QAction* m_removeSelected;
    QAction* m_removeAll;
    QAction* m_details = nullptr;
};

}  // namespace kelmora
