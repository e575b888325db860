#include "ui/Notice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace kelmora {

namespace {

NoticeSink& sink()
{
    static NoticeSink theSink;
    return theSink;
}

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        box.move(area.center() - QPoint(box.width() / 2, box.height() / 2));
    }
    box.exec();
}

}  // namespace

void setNoticeSink(NoticeSink newSink) { sink() = std::move(newSink); }

void showNotice(const QString& text)
{
    if (sink()) {
        sink()(NoticeKind::Information, text);
        return;
    }
    showBox(QMessageBox::NoIcon, text);
}

void showErrorDisplay(const QString& text)
{
    QString shown = text;
    if (!shown.isEmpty() && !shown.endsWith(QLatin1Char('.'))) shown += QLatin1Char('.');
    if (sink()) {
        sink()(NoticeKind::Error, shown);
        return;
    }
    showBox(QMessageBox::Critical, shown);
}

}  // namespace kelmora
