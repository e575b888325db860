#include "controls/KmBrowseDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>

#include "controls/TextBytes.h"

namespace kelmora {

namespace {
TKmBrowseDlg::Runner s_runner;
}

QPoint placeDialog(QSize size, QRect target, QRect screen, TKmDlgPosition position)
{
    const int w = size.width(), h = size.height();
    const int left = target.left(), top = target.top();
    const int right = left + target.width(), bottom = top + target.height();
    const int midX = left + (target.width() - w) / 2, midY = top + (target.height() - h) / 2;
    int x = left, y = top;
    switch (position) {
    case bpCustom:
    case bpTopLeft: break;
    case bpTopCenter: x = midX; break;
    case bpTopRight: x = right - w; break;
    case bpCenterLeft: y = midY; break;
    case bpCenter:
        x = midX;
        y = midY;
        break;
    case bpCenterRight:
        x = right - w;
        y = midY;
        break;
    case bpBottomLeft: y = bottom - h; break;
    case bpBottomCenter:
        x = midX;
        y = bottom - h;
        break;
    case bpBottomRight:
        x = right - w;
        y = bottom - h;
        break;
    }
    if (y + h > screen.top() + screen.height()) y = bottom - h;
    if (x + w > screen.left() + screen.width()) x = right - w;
    return {std::max(x, screen.left()), std::max(y, screen.top())};
}

TKmBrowseDlg::TKmBrowseDlg(QObject* owner) : QObject(owner) {}

TKmBrowseDlg::~TKmBrowseDlg() = default;

void TKmBrowseDlg::setRunner(Runner runner) { s_runner = std::move(runner); }

QRect TKmBrowseDlg::targetRect(const QWidget* dialog) const
{
    const QWidget* relative = nullptr;
    if (m_relatePos == brMainForm) {
        const auto* owner = qobject_cast<const QWidget*>(parent());
        relative = owner ? owner->window() : QApplication::activeWindow();
    } else if (m_relatePos == brActiveWindow) {
        relative = QApplication::activeWindow();
    }
    if (relative == dialog) relative = nullptr;
    QScreen* screen = relative ? relative->screen() : QGuiApplication::primaryScreen();
    if (relative) return relative->frameGeometry();
    if (!screen) return {};
    return m_relatePos == brScreenWorkArea ? screen->availableGeometry() : screen->geometry();
}

bool TKmBrowseDlg::Execute()
{
    QWidget* owner = qobject_cast<QWidget*>(parent());
    if (owner) owner = owner->window();
    QFileDialog dialog(owner ? owner : QApplication::activeWindow());
    if (!m_captionTitle.isEmpty()) dialog.setWindowTitle(m_captionTitle);
    dialog.setFileMode(QFileDialog::Directory);
    // Qt's own dialog, so that it can be placed like every other window.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setModal(true);

    if (!m_selectedFolder.empty()) {
        const QFileInfo folder(fromSystemBytes(m_selectedFolder));
        if (folder.isDir()) {
            if (folder.isRoot()) {
                dialog.setDirectory(folder.absoluteFilePath());
            } else {
                dialog.setDirectory(folder.absolutePath());
                dialog.selectFile(folder.fileName());
            }
        }
    }
    connect(&dialog, &QFileDialog::currentChanged, this, &TKmBrowseDlg::selectionChanged);

    dialog.resize(dialog.sizeHint().expandedTo(QSize(480, 320)));
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    dialog.move(placeDialog(dialog.size(), targetRect(&dialog), screenRect, m_position));
    emit init(&dialog);

    m_dialog = &dialog;
    const int result = s_runner ? s_runner(dialog) : dialog.exec();
    m_dialog = nullptr;
    const QStringList chosen = dialog.selectedFiles();
    if (result != QDialog::Accepted || chosen.isEmpty()) return false;
    const QString path = QDir::cleanPath(chosen.first());
    m_selectedFolder = toSystemBytes(QDir::toNativeSeparators(path));
    m_displayName = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    return true;
}

}  // namespace kelmora
