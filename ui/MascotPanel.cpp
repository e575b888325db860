#include "ui/MascotPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "controls/Colors.h"
#include "controls/GradBox.h"
#include "ui/MascotAnimation.h"
#include "ui/MascotResources.h"

namespace kelmora {

namespace {

constexpr int SheetColumns = 4;

QRect frameRect(int index)
{
    return {(index % SheetColumns) * MascotFrameWidth, (index / SheetColumns) * MascotFrameHeight, MascotFrameWidth,
            MascotFrameHeight};
}

}  // namespace

// ---- TMascotImageList

void TMascotImageList::decode() const
{
    if (m_decoded) return;
    initMascotResources();
    const_cast<TMascotImageList*>(this)->setSheet(QImage(MascotSheetResource));
}

const QImage& TMascotImageList::sheet() const
{
    decode();
    return Sheet;
}

bool TMascotImageList::setSheet(const QImage& sheet)
{
    m_decoded = true;
    const QRect last = frameRect(MascotFrameCount - 1);
    if (sheet.isNull() || !sheet.rect().contains(last)) {
        Sheet = QImage();
        return false;
    }
    Sheet = sheet.convertToFormat(QImage::Format_RGB32);
    return true;
}

int TMascotImageList::Count() const
{
    decode();
    return Sheet.isNull() ? 0 : MascotFrameCount;
}

void TMascotImageList::Draw(QImage& target, int x, int y, int index) const
{
    if (index < 0 || index >= Count()) return;  // Count() decodes the sheet
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x, y), Sheet, frameRect(index));
}

QImage TMascotImageList::frame(int index) const
{
    if (index < 0 || index >= Count()) return {};
    return Sheet.copy(frameRect(index));
}

// ---- TMascotHotspot, TMascotShape, TMascotImage

TMascotHotspot::TMascotHotspot(QWidget* parent) : QWidget(parent) { setCursor(Qt::WhatsThisCursor); }

void TMascotHotspot::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TMascotHotspot::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (rect().contains(pos)) emit mouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TMascotShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // The corner ellipse is a quarter of the shorter side.
    const int corner = std::min(width(), height()) / 4;
    p.setPen(toQColor(clGray));
    p.setBrush(toQColor(clBlack));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), corner / 2.0, corner / 2.0);
}

void TMascotImage::paintEvent(QPaintEvent*)
{
    if (Picture.isNull()) return;  // see-through until the first frame
    QPainter p(this);
    p.drawImage(0, 0, Picture);
}

// ---- TMascotPanel

TMascotPanel::TMascotPanel(QWidget* parent) : QWidget(parent)
{
    setFixedSize(300, 311);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(clBlack));
    setPalette(pal);

    GradBox4 = new TGradBox(this);
    GradBox4->BeginLoad();
    GradBox4->setGeometry(0, 0, 300, 311);
    GradBox4->setTopColor(clGray);
    GradBox4->setLastColor(clWhite);
    GradBox4->setGradStyle(gsRightLeft);
    GradBox4->setDrawOutLine(true);
    GradBox4->setOutLineColor(clBlack);
    GradBox4->Loaded();

    Shape8 = new TMascotShape(this);
    Shape8->setGeometry(6, 6, 288, 300);

    Image1 = new TMascotImage(this);
    Image1->setGeometry(40, 8, MascotFrameWidth, MascotFrameHeight);

    connect(Shape8, &TMascotShape::mouseUp, this, &TMascotPanel::Shape8MouseUp);
    connect(Image1, &TMascotImage::mouseUp, this, &TMascotPanel::Shape8MouseUp);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TMascotPanel::Timer1Timer);
    Timer1->start();
}

void TMascotPanel::Timer1Timer()
{
    const TMascotStep step = mascotStep(FrameIndex, ImageList1.Tag);
    if (Image1->Picture.isNull()) {
        Image1->Picture = QImage(Image1->size(), QImage::Format_RGB32);
        Image1->Picture.fill(Qt::black);
    }
    ImageList1.Draw(Image1->Picture, 0, 0, step.frame);
    Image1->repaint();
    FrameIndex = step.nextIndex;
    ImageList1.Tag = step.flag;
}

void TMascotPanel::Shape8MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) { emit infoRequested(); }

void TMascotPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kelmora
