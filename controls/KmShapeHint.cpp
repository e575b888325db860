#include "controls/KmShapeHint.h"

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <cmath>

#include "controls/DrawText.h"
#include "controls/Property.h"

namespace kelmora {

namespace {

TKmShapeHint* s_current = nullptr;

constexpr unsigned kMeasureFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

QRect screenAt(QPoint point)
{
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// Rectangles as (left, top, right, bottom) with right and bottom exclusive.
QRect box(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

struct NoseShape {
    QRect body, shadowBody;
    QPoint base, tip, shadowBase, shadowTip;
    bool shadowNose = true;
};

NoseShape noseShape(QSize size, int d, TKmHintPosition placement)
{
    const int w = size.width(), h = size.height();
    // clang-format off
    switch (placement) {
    case hpAboveRight:
        return {box(15, 0, w - d, h - d - 15), box(d + 15, d, w, h - 15), {25, h - d - 16}, {0, h - d},
                {d + 25, h - 16}, {0, h}};
    case hpAboveLeft:
        return {box(0, 0, w - d - 15, h - d - 15), box(d, d, w - 15, h - 15), {w - d - 55, h - d - 16},
                {w - d, h - d}, {w - 55, h - 16}, {w, h}};
    case hpBelowLeft:
        return {box(0, 15, w - d - 15, h - d), box(d, d + 15, w - 15, h), {w - d - 55, 16}, {w, 0},
                {w - 55, d + 16}, {w, d}};
    case hpBelowRight:
        return {box(15, 15, w - d, h - d), box(d + 15, d + 15, w, h), {25, 16}, {0, 0}, {}, {}, false};
    }
    // clang-format on
    return {};
}

// A shape drawn as the balloon's pieces are: outlined with the pen, or (no pen) filled
// over exactly its rectangle.
enum class Shape { Rect, RoundRect, Ellipse };

void drawShape(QPainter& p, Shape shape, const QRect& r, bool outlined)
{
    const QRect q = outlined ? r.adjusted(0, 0, -1, -1) : r;
    switch (shape) {
    case Shape::Rect: p.drawRect(q); break;
    case Shape::RoundRect: p.drawRoundedRect(q, 8, 8); break;
    case Shape::Ellipse: p.drawEllipse(q); break;
    }
}

// The two points of an ellipse 25 degrees apart that face the tip.
std::pair<QPoint, QPoint> ellipseNoseBase(const QRect& ellipse, QPoint tip)
{
    const double a = ellipse.width() / 2.0, b = ellipse.height() / 2.0;
    const double cx = ellipse.left() + a, cy = ellipse.top() + b;
    const double angle = std::atan2((tip.y() - cy) / b, (tip.x() - cx) / a);
    const double half = 12.5 * M_PI / 180.0;
    auto at = [&](double t) {
        return QPoint(int(std::lround(cx + a * std::cos(t))), int(std::lround(cy + b * std::sin(t))));
    };
    return {at(angle - half), at(angle + half)};
}

}  // namespace

int hintWrapWidth(int maxWidth, int screenWidth)
{
    if (maxWidth > 0) return maxWidth;
    if (maxWidth < 0) return std::max(1, screenWidth / -maxWidth);
    return 1;
}

QSize hintTextBox(const QString& text, const QFont& font, int wrapWidth)
{
    const QRect r =
        measureText(font, text.isEmpty() ? QStringLiteral(" ") : text, QRect(0, 0, wrapWidth, 0), kMeasureFlags);
    return {r.width() + 6, r.height() + 6};
}

QSize hintWindowSize(TKmHintStyle style, QSize textBox, int d)
{
    const int r = textBox.width(), b = textBox.height();
    switch (style) {
    case hsRect: return {r + d, b + d};
    case hsRoundRect: return {r + d + 8, b + d + 4};
    case hsEllipse: return {r + r / 3 + d, b + b / 3 + d};
    case hsNoseRect:
    case hsNoseRoundRect: return {std::max(r, 46) + d + 23, b + d + 18};
    case hsNoseEllipse: return {r + r / 2 + d + 15, b + b / 2 + d + 15};
    }
    return textBox;
}

QPoint hintTextOffset(TKmHintStyle style, TKmHintPosition placement, QSize textBox, int d)
{
    const int r = textBox.width(), b = textBox.height();
    const bool right = placement == hpAboveRight || placement == hpBelowRight;
    const bool below = placement == hpBelowLeft || placement == hpBelowRight;
    switch (style) {
    case hsRect: return {3, 3};
    case hsRoundRect: return {5, 5};
    case hsEllipse: return {(r - d) / 5 + 3, (b - d) / 5 + 3};
    case hsNoseRect:
    case hsNoseRoundRect: return {right ? 19 : 4, below ? 19 : 4};
    case hsNoseEllipse:
        // The text box centred in the ellipse, which leaves 15 pixels for the nose.
        return {(right ? 15 : 0) + r / 4 + 3, (below ? 15 : 0) + b / 4 + 3};
    }
    return {};
}

THintPlacement placeHint(QPoint anchor, QSize window, QRect screen, TKmHintPosition preferred)
{
    const int x = anchor.x(), y = anchor.y(), w = window.width(), h = window.height();
    THintPlacement tried{};
    for (int i = 0; i < 4; ++i) {
        const auto placement = static_cast<TKmHintPosition>((preferred + i) % 4);
        QPoint topLeft;
        switch (placement) {
        case hpAboveLeft: topLeft = {x - w - 1, y - h - 1}; break;
        case hpAboveRight: topLeft = {x + 1, y - h - 1}; break;
        case hpBelowLeft: topLeft = {x - w - 3, y + 1}; break;
        case hpBelowRight: topLeft = {x + 6, y + 1}; break;
        }
        tried = {topLeft, placement};
        if (screen.contains(topLeft) && screen.contains(topLeft + QPoint(w, h))) break;
    }
    return tried;
}

QImage drawHintBalloon(const THintLook& look, QSize window, TKmHintPosition placement)
{
    QImage image(window, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int d = look.shadow.Depth();
    const QColor fill = toQColor(look.color), border = toQColor(look.borderColor);
    const QBrush shadowBrush(toQColor(look.shadow.Color()),
                             look.shadow.Style() == hssTracing ? Qt::Dense4Pattern : Qt::SolidPattern);
    const bool shadow = look.shadow.Style() != hssNone;
    const int w = window.width(), h = window.height();

    if (look.style == hsRect || look.style == hsRoundRect || look.style == hsEllipse) {
        const Shape shape = look.style == hsRect        ? Shape::Rect
                            : look.style == hsRoundRect ? Shape::RoundRect
                                                        : Shape::Ellipse;
        if (shadow) {
            p.setPen(Qt::NoPen);
            p.setBrush(shadowBrush);
            drawShape(p, shape, box(d, d, w, h), false);
        }
        p.setPen(border);
        p.setBrush(fill);
        drawShape(p, shape, box(0, 0, w - d, h - d), true);
        return image;
    }

    const NoseShape nose = noseShape(window, d, placement);
    const QPoint baseEnd = nose.base + QPoint(30, 0), shadowBaseEnd = nose.shadowBase + QPoint(30, 0);
    if (look.style == hsNoseEllipse) {
        const auto [b1, b2] = ellipseNoseBase(nose.body, nose.tip);
        const auto [s1, s2] = ellipseNoseBase(nose.shadowBody, nose.shadowTip);
        if (shadow) {
            p.setPen(Qt::NoPen);
            p.setBrush(shadowBrush);
            drawShape(p, Shape::Ellipse, nose.shadowBody, false);
            if (nose.shadowNose) p.drawPolygon(QPolygon({s1, nose.shadowTip, s2}));
        }
        p.setPen(border);
        p.setBrush(fill);
        drawShape(p, Shape::Ellipse, nose.body, true);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({b1, nose.tip, b2}));
        p.setPen(border);
        p.drawLine(b1, nose.tip);
        p.drawLine(nose.tip, b2);
        return image;
    }

    const Shape shape = look.style == hsNoseRect ? Shape::Rect : Shape::RoundRect;
    if (shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(shadowBrush);
        drawShape(p, shape, nose.shadowBody, false);
        if (nose.shadowNose) p.drawPolygon(QPolygon({nose.shadowBase, nose.shadowTip, shadowBaseEnd}));
    }
    p.setPen(border);
    p.setBrush(fill);
    drawShape(p, shape, nose.body, true);
    p.drawPolygon(QPolygon({nose.base, nose.tip, baseEnd}));
    // Open the outline between the body and its nose.
    p.setPen(fill);
    p.drawLine(nose.base, baseEnd - QPoint(1, 0));
    return image;
}

TKmShapeHintWindow::TKmShapeHintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TKmShapeHintWindow::activate(const QString& text, QPoint anchor, const THintLook& look, int maxWidth,
                                  TKmHintPosition preferred)
{
    const QRect screen = screenAt(anchor);
    const int depth = look.shadow.Depth();
    const QSize textBox = hintTextBox(text, look.font.font, hintWrapWidth(maxWidth, screen.width()));
    const QSize size = hintWindowSize(look.style, textBox, depth);
    const THintPlacement place = placeHint(anchor, size, screen, preferred);
    m_placement = place.placement;

    m_picture = drawHintBalloon(look, size, m_placement);
    {
        QPainter p(&m_picture);
        const QPoint offset = hintTextOffset(look.style, m_placement, textBox, depth);
        drawText(&p, look.font.font, text, QRect(offset, textBox - QSize(6, 6)), DT_WORDBREAK | DT_NOPREFIX,
                 toQColor(look.font.Color));
    }
    setGeometry(QRect(place.topLeft, size));
    setMask(QBitmap::fromImage(m_picture.createAlphaMask()));
    show();
    update();
}

void TKmShapeHintWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

TKmShapeHint::TKmShapeHint(QObject* parent) : QObject(parent)
{
    m_look.font = uiTFont(11, clInfoText);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kHintPauseMs);
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kHintHidePauseMs);
    connect(&m_showTimer, &QTimer::timeout, this, &TKmShapeHint::showNow);
    connect(&m_hideTimer, &QTimer::timeout, this, [this] { hideHint(false); });
    apply();
}

TKmShapeHint::~TKmShapeHint()
{
    m_enabled = false;
    apply();
    delete m_window;
}

void TKmShapeHint::Loaded()
{
    m_loading = false;
    apply();
}

void TKmShapeHint::setEnabled(bool enabled)
{
    if (storeChanged(m_enabled, enabled) && !m_loading) apply();
}

TKmShapeHint* TKmShapeHint::current() { return s_current; }

void TKmShapeHint::apply()
{
    if (m_enabled) {
        s_current = this;
        if (!m_installed && qApp) qApp->installEventFilter(this);
        m_installed = true;
        return;
    }
    hideHint(false);
    m_showTimer.stop();
    m_control = nullptr;
    if (s_current == this) s_current = nullptr;
    if (m_installed && qApp) qApp->removeEventFilter(this);
    m_installed = false;
}

TKmShapeHintWindow* TKmShapeHint::hintWindow() const { return m_window && m_window->isVisible() ? m_window : nullptr; }

void TKmShapeHint::ShowHint(const QString& text, int x, int y, int durationMs)
{
    const TKmShapeHint* settings = current();
    if (!settings) return;
    TKmShapeHintWindow window;
    window.activate(text, QPoint(x, y), settings->m_look, settings->m_maxWidth, settings->m_position);
    QEventLoop loop;
    QTimer::singleShot(durationMs, &loop, &QEventLoop::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    // Events run while the balloon shows; this component may be gone when the wait ends.
    QPointer<TKmShapeHint> self(this);
    loop.exec();
    window.hide();
    if (self) emit closeHintWindow();
}

void TKmShapeHint::ShowControlHint(const QString& text, QWidget* control, int durationMs)
{
    if (!control || !control->isVisible() || !control->parentWidget()) return;
    const QPoint centre = control->mapToGlobal(QPoint(control->width() / 2, control->height() / 2));
    ShowHint(text.isEmpty() ? control->toolTip() : text, centre.x(), centre.y(), durationMs);
}

void TKmShapeHint::showNow()
{
    if (!m_control || m_control->toolTip().isEmpty()) return;
    if (!m_window) m_window = new TKmShapeHintWindow;
    m_window->activate(m_control->toolTip(), m_pointer, m_look, m_maxWidth, m_position);
    m_quick = false;
    m_hideTimer.start();
}

void TKmShapeHint::hideHint(bool keepQuick)
{
    m_hideTimer.stop();
    const bool shown = m_window && m_window->isVisible();
    m_quick = shown && keepQuick;
    if (!shown) return;
    m_window->hide();
    emit closeHintWindow();
}

void TKmShapeHint::pointerAt(QWidget* widget)
{
    // The hint belongs to the nearest widget with a tool tip, up to its window.
    QWidget* hinted = widget;
    while (hinted && hinted->toolTip().isEmpty() && !hinted->isWindow()) hinted = hinted->parentWidget();
    if (hinted && hinted->toolTip().isEmpty()) hinted = nullptr;
    if (!hinted) m_quick = false;  // only a move straight on to another hinted control is quick
    if (hinted == m_control) return;

    const bool quick = m_quick || hintWindow();
    hideHint(false);
    m_control = hinted;
    if (!hinted) {
        m_showTimer.stop();
    } else if (quick) {
        m_showTimer.stop();
        showNow();
    } else {
        m_showTimer.start();
    }
}

bool TKmShapeHint::eventFilter(QObject* watched, QEvent* event)
{
    if (s_current != this || !m_enabled) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == m_window) return false;
    switch (event->type()) {
    case QEvent::ToolTip: return true;  // the balloon shows the tips instead
    case QEvent::Enter:
        // Entering a window reaches every widget down to the one under the pointer; an
        // ancestor of the hinted control entered again (a window shown or hidden above
        // it) is no move away from the control.
        if (m_control && widget->isAncestorOf(m_control)) break;
        m_pointer = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
        pointerAt(widget);
        break;
    case QEvent::MouseMove: {
        m_pointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        // Moves over a disabled control reach its parent; the control still has its hint.
        QWidget* under = QApplication::widgetAt(m_pointer);
        pointerAt(under && under->window() == widget->window() ? under : widget);
        break;
    }
    case QEvent::Leave:
        if (widget == m_control) {
            hideHint(true);
            m_showTimer.stop();
            m_control = nullptr;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        hideHint(false);
        m_showTimer.stop();
        break;
    default: break;
    }
    return false;
}

}  // namespace kelmora
