#include "ui/InfoForm1.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include "controls/Colors.h"
#include "controls/Fonts.h"
#include "ui/MascotResources.h"

namespace kelmora {

TInfoForm1::TInfoForm1(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    initMascotResources();
    setWindowTitle(QStringLiteral("Kelmora"));
    setFont(uiFont(12));
    setFixedSize(400, 300);
    move(235, 225);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clBtnFace));
    setPalette(pal);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 400, 300);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    // The picture covers the panel and its bevel.
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(0, 0, 400, 300);
    Image1->setPixmap(QPixmap(InfoPictureResource));
}

QPoint TInfoForm1::centredOver(const QWidget* mainWindow) const
{
    const QRect main = mainWindow->frameGeometry();
    const QRect own = frameGeometry();
    return {main.left() + (main.width() - own.width()) / 2, main.top() + (main.height() - own.height()) / 2};
}

QMargins TInfoForm1::frameMargins() const
{
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void TInfoForm1::showModalOver(QWidget* mainWindow)
{
    if (!Placed && mainWindow) {
        // Before it is shown the window has no frame yet: this first guess is
        // corrected in event() once the window system has framed it.
        move(centredOver(mainWindow));
        m_assumedFrame = frameMargins();
        m_centredOver = mainWindow;
        Placed = true;
    }
    exec();
    m_centredOver = nullptr;
}

bool TInfoForm1::event(QEvent* e)
{
    const bool handled = QDialog::event(e);
    const QEvent::Type type = e->type();
    if (m_centredOver && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
        && frameMargins() != m_assumedFrame) {
        // The frame is known now (or has changed): centre the framed window.
        m_assumedFrame = frameMargins();
        move(centredOver(m_centredOver));
    }
    return handled;
}

}  // namespace kelmora
