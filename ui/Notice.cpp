#include "ui/Notice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace kelmora {

namespace {

NoticeSink& sink()
{
    static NoticeSink theSink;
    return theSink;
}

QuestionSink& questionSink()
{
    static QuestionSink theSink;
    return theSink;
}

void centreOnScreen(QMessageBox& box)
{
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        box.move(area.center() - QPoint(box.width() / 2, box.height() / 2));
    }
}

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    centreOnScreen(box);
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

void setQuestionSink(QuestionSink newSink) { questionSink() = std::move(newSink); }

bool askQuestion(const QString& text, bool yesIsDefault)
{
    if (questionSink()) return questionSink()(text);
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, QMessageBox::NoButton);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    centreOnScreen(box);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace kelmora
