#include "controls/KmSpinButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/Colors.h"
#include "controls/Property.h"

namespace kelmora {

namespace {

QRgb rgbOf(TColor color) { return toQColor(color).rgb(); }

void plot(QImage& image, int x, int y, QRgb c)
{
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, c);
}

// A straight line from (x0, y0) towards (x1, y1), the end point left out. The
// button's lines are all horizontal, vertical or at 45 degrees.
void line(QImage& image, int x0, int y0, int x1, int y1, QRgb c)
{
    const int dx = (x1 > x0) - (x1 < x0);
    const int dy = (y1 > y0) - (y1 < y0);
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i < steps; ++i) plot(image, x0 + i * dx, y0 + i * dy, c);
}

void hline(QImage& image, int x0, int x1, int y, QRgb c)
{
    for (int x = x0; x <= x1; ++x) plot(image, x, y, c);
}

// Nearest integer, halves to the even neighbour.
int roundEven(double v)
{
    const double r = std::round(v);
    if (std::abs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0.0)
        return static_cast<int>(r - std::copysign(1.0, v));
    return static_cast<int>(r);
}

void upArrow(QImage& image, int x, int y, QRgb c)
{
    for (int k = 0; k < 3; ++k) hline(image, x + 1 - k, x + 1 + k, y + k, c);
}

void downArrow(QImage& image, int x, int y, QRgb c)
{
    hline(image, x, x + 4, y, c);
    hline(image, x + 1, x + 3, y + 1, c);
    plot(image, x + 2, y + 2, c);
}

}  // namespace

TKmSpinButton::TKmSpinButton(QWidget* parent) : QWidget(parent)
{
    resize(20, 20);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &TKmSpinButton::repeatTick);
}

void TKmSpinButton::setInterval(int ms) { m_interval = std::clamp(ms, 0, 0xFFFF); }

QImage TKmSpinButton::stateImage(int s, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    const QRgb face = rgbOf(clBtnFace), frame = rgbOf(clWindowFrame), light = rgbOf(clBtnHighlight),
               shadow = rgbOf(clBtnShadow);
    image.fill(face);
    line(image, 0, 0, w - 1, 0, frame);
    line(image, w - 1, 0, w - 1, h - 1, frame);
    line(image, w - 1, h - 1, 0, h - 1, frame);
    line(image, 0, h - 1, 0, 0, frame);
    line(image, -1, h, w, -1, frame);

    const QRgb upEdge = s == sUpPressed ? shadow : light;
    line(image, 1, h - 4, 1, 1, upEdge);
    line(image, 1, 1, w - 3, 1, upEdge);
    if (s != sUpPressed) line(image, 1, h - 3, w - 2, 0, shadow);

    const bool down = s == sDownPressed;
    line(image, 2, h - 2, w - 2, h - 2, down ? light : shadow);
    line(image, w - 2, h - 2, w - 2, 1, down ? light : shadow);
    line(image, 2, h - 2, w - 1, 1, down ? shadow : light);
    if (down) line(image, 3, h - 2, w - 1, 2, shadow);

    const int ux = roundEven(w / 4.0 - 2) + 1 + (s == sUpPressed);
    const int uy = roundEven(h / 4.0 - 2) + 1 + (s == sUpPressed);
    const int dx = roundEven(3.0 * w / 4.0 - 2) - 1 + down;
    const int dy = roundEven(3.0 * h / 4.0 - 2) - 1 + down;
    if (s == sDisabled) {
        const QRgb emboss = rgbOf(clHighlightText), grey = rgbOf(clGrayText);
        upArrow(image, ux + 1, uy + 1, emboss);
        downArrow(image, dx + 1, dy + 1, emboss);
        upArrow(image, ux, uy, grey);
        downArrow(image, dx, dy, grey);
    } else {
        upArrow(image, ux, uy, qRgb(0, 0, 0));
        downArrow(image, dx, dy, qRgb(0, 0, 0));
    }
    return image;
}

bool TKmSpinButton::stripFits() const
{
    return !m_strip.isNull() && m_strip.height() == height() && m_strip.width() / 4 == width();
}

void TKmSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    if (w <= 0 || h <= 0 || stripFits()) return;
    m_strip = QImage(4 * w, h, QImage::Format_RGB32);
    QPainter p(&m_strip);
    for (int s = 0; s < 4; ++s) p.drawImage(s * w, 0, stateImage(s, w, h));
    ++m_stripDraws;
}

void TKmSpinButton::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0) return;
    QPainter p(this);
    if (stripFits()) p.drawImage(QPoint(0, 0), m_strip, QRect(m_state * width(), 0, width(), height()));
    else p.drawImage(QPoint(0, 0), stateImage(m_state, width(), height()));
}

void TKmSpinButton::setState(State s) { setAndUpdate(*this, m_state, s); }

void TKmSpinButton::stepPressedHalf()
{
    if (m_state == sUpPressed) emit upClick();
    else if (m_state == sDownPressed) emit downClick();
}

void TKmSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled() || m_state != sNormal) return;
    m_pressing = true;
    const QPoint pos = event->position().toPoint();
    m_pressedHalf = isDownHalf(pos.x(), pos.y(), width(), height()) ? sDownPressed : sUpPressed;
    setState(static_cast<State>(m_pressedHalf));
    // The release goes wherever the mouse went; the window tells when that was elsewhere.
    m_watchedWindow = window();
    if (m_watchedWindow != this) m_watchedWindow->installEventFilter(this);
    QPointer<TKmSpinButton> self(this);
    try {
        stepPressedHalf();
    } catch (...) {
        if (self) endHold();
        throw;
    }
    // The step's change handler may have disabled the field, removed it or opened a
    // modal window: no repeat then.
    if (!self || !m_pressing) return;
    m_ticksLeft = (m_interval + 200) / kTickMs;
    m_timer.start();
}

void TKmSpinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressing) return;
    const QPoint pos = event->position().toPoint();
    if (rect().contains(pos)) {
        const int half = isDownHalf(pos.x(), pos.y(), width(), height()) ? sDownPressed : sUpPressed;
        setState(half == m_pressedHalf ? static_cast<State>(m_pressedHalf) : sNormal);
    } else {
        setState(sNormal);
    }
}

void TKmSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressing) return;
    endHold();
}

void TKmSpinButton::endHold()
{
    m_pressing = false;
    m_pressedHalf = 0;
    m_timer.stop();
    if (m_watchedWindow) m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = nullptr;
    if (isEnabled()) setState(sNormal);
}

bool TKmSpinButton::holdsMouse() const
{
    if (!m_pressing) return false;
    const QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && grabber != this) return false;
    const QWidget* popup = QApplication::activePopupWidget();
    if (popup && popup != window()) return false;
    const QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == window();
}

void TKmSpinButton::repeatTick()
{
    if (!holdsMouse()) {
        endHold();
        return;
    }
    if (--m_ticksLeft > 0) return;
    m_ticksLeft = std::max(1, m_interval / kTickMs);
    if (m_state == sNormal) return;
    QPointer<TKmSpinButton> self(this);
    try {
        stepPressedHalf();
    } catch (...) {
        if (self) endHold();
        throw;
    }
}

bool TKmSpinButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow) {
        switch (event->type()) {
        case QEvent::WindowBlocked:
        case QEvent::WindowDeactivate:
        case QEvent::Hide: endHold(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TKmSpinButton::hideEvent(QHideEvent* event)
{
    if (m_pressing) endHold();
    QWidget::hideEvent(event);
}

void TKmSpinButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) endHold();
        setState(isEnabled() ? sNormal : sDisabled);
    }
    QWidget::changeEvent(event);
}

}  // namespace kelmora
