#include "ui/Notice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

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

// The window the user looks at: the active one, else the first shown.
QWidget* windowInView(const QWidget& box)
{
    if (QWidget* active = QApplication::activeWindow(); active && active != &box) return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != &box && widget->isVisible() && widget->windowType() == Qt::Window) return widget;
    return nullptr;
}

// Shows the box centred on the window the user looks at, kept on its screen;
// centred on the screen when no window is shown. The box takes its size as it
// is shown: it is placed after that, before the event loop draws it.
void centreOnWindow(QMessageBox& box)
{
    box.show();
    const QWidget* window = windowInView(box);
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QPoint centre = window ? window->frameGeometry().center() : area.center();
    QPoint place = centre - QPoint(box.width() / 2, box.height() / 2);
    place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() + 1 - box.width())));
    place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() + 1 - box.height())));
    box.move(place);
}

void showBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
    centreOnWindow(box);
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
    centreOnWindow(box);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace kelmora
