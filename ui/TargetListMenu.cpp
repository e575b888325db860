#include "ui/TargetListMenu.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>

#include "controls/TextBytes.h"

namespace kelmora {

TargetListMenu::TargetListMenu(QListView* list, Handlers handlers)
    : QObject(list), m_list(list), m_handlers(std::move(handlers)), m_menu(new QMenu(list))
{
    m_filesDialog = [](QWidget* parent, const QString& start) {
        return QFileDialog::getOpenFileNames(parent, QStringLiteral("ファイルを追加"), start, QString(), nullptr,
                                             QFileDialog::DontUseNativeDialog);
    };
    m_folderDialog = [](QWidget* parent, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("フォルダを追加"), start,
                                                 QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    };

    m_addFiles = m_menu->addAction(QStringLiteral("ファイルを追加…"), this, &TargetListMenu::addFiles);
    m_addFolder = m_menu->addAction(QStringLiteral("フォルダを追加…"), this, &TargetListMenu::addFolder);
    m_menu->addSeparator();
    m_removeSelected =
        m_menu->addAction(QStringLiteral("選択した項目を削除"), this, [this] { m_handlers.removeSelected(); });
    m_removeSelected->setShortcut(QKeySequence(Qt::Key_Delete));  // shown in the menu; the key itself is filtered below
    m_removeAll = m_menu->addAction(QStringLiteral("すべて削除"), this, [this] { m_handlers.removeAll(); });
    if (m_handlers.details) {
        m_menu->addSeparator();
        m_details = m_menu->addAction(QStringLiteral("詳細設定…"), this, [this] { m_handlers.details(); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &TargetListMenu::updateActions);

    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_list->viewport()->mapToGlobal(at)); });
    m_list->installEventFilter(this);
}

void TargetListMenu::setDialogs(FilesDialog files, FolderDialog folder)
{
    m_filesDialog = std::move(files);
    m_folderDialog = std::move(folder);
}

QString TargetListMenu::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir()) return m_lastFolder;
    if (m_handlers.destination) {
        const QString destination = fromSystemBytes(m_handlers.destination());
        if (!destination.isEmpty() && QFileInfo(destination).isDir()) return destination;
    }
    return QDir::homePath();
}

void TargetListMenu::addFiles()
{
    const QStringList files = m_filesDialog(m_list->window(), startFolder());
    if (files.isEmpty()) return;
    m_lastFolder = QFileInfo(files.front()).absolutePath();
    std::vector<std::string> paths;
    for (const QString& file : files) paths.push_back(toSystemBytes(file));
    m_handlers.add(paths);
}

void TargetListMenu::addFolder()
{
    const QString folder = m_folderDialog(m_list->window(), startFolder());
    if (folder.isEmpty()) return;
    m_lastFolder = folder;
    m_handlers.add({toSystemBytes(folder)});
}

void TargetListMenu::updateActions()
{
    // "すべて削除" stays on, as "CLEAR" does.
    m_removeSelected->setEnabled(m_list->selectionModel() && m_list->selectionModel()->hasSelection());
}

bool TargetListMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        m_handlers.removeSelected();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kelmora
