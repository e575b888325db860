#include "controls/ShineSpeedButton.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <algorithm>

#include "controls/DrawText.h"
#include "controls/Gradient.h"
#include "controls/Property.h"

namespace kelmora {

// ---- TShineBtnColors ----

TShineBtnColors::TShineBtnColors(TColor color, QObject* parent) : QObject(parent), m_color(color) {}

void TShineBtnColors::setColor(TColor value)
{
    if (storeChanged(m_color, value)) emit changed();
}
void TShineBtnColors::setHighlight(TColor value)
{
    if (storeChanged(m_highlight, value)) emit changed();
}
void TShineBtnColors::setShadow(TColor value)
{
    if (storeChanged(m_shadow, value)) emit changed();
}
void TShineBtnColors::setDarkShadow(TColor value)
{
    if (storeChanged(m_darkShadow, value)) emit changed();
}
void TShineBtnColors::setGradColor(TColor value)
{
    if (storeChanged(m_gradColor, value)) emit changed();
}
void TShineBtnColors::setGradVertical(bool value)
{
    if (storeChanged(m_gradVertical, value)) emit changed();
}
void TShineBtnColors::setGradation(bool value)
{
    if (storeChanged(m_gradation, value)) emit changed();
}

void TShineBtnColors::Assign(const TShineBtnColors& source)
{
    m_color = source.m_color;
    m_highlight = source.m_highlight;
    m_shadow = source.m_shadow;
    m_darkShadow = source.m_darkShadow;
    m_gradColor = source.m_gradColor;
    m_gradVertical = source.m_gradVertical;
    m_gradation = source.m_gradation;
    emit changed();
}

// ---- TShineSpeedButton: properties ----

TShineSpeedButton::TShineSpeedButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_font.Color = clBtnText;
    m_activeFont.Color = clHighlight;
    connect(&m_colors, &TShineBtnColors::changed, this, qOverload<>(&QWidget::update));
    connect(&m_pressedColors, &TShineBtnColors::changed, this, qOverload<>(&QWidget::update));
    m_activeButtonTimer.setInterval(200);
    connect(&m_activeButtonTimer, &QTimer::timeout, this, &TShineSpeedButton::ActiveButtonTimerOnTimer);
    resize(25, 25);
}

TShineSpeedButton::~TShineSpeedButton() { m_activeButtonTimer.stop(); }

void TShineSpeedButton::setClickDownHook(bool value) { setAndUpdate(*this, m_clickDownHook, value); }
void TShineSpeedButton::setAccelCharDown(bool value) { setAndUpdate(*this, m_accelCharDown, value); }
void TShineSpeedButton::setFrameType(TFrameType value) { setAndUpdate(*this, m_frameType, value); }
void TShineSpeedButton::setActiveFrame(bool value) { setAndUpdate(*this, m_activeFrame, value); }
void TShineSpeedButton::setUpFrame(bool value) { setAndUpdate(*this, m_upFrame, value); }
void TShineSpeedButton::setDownFrame(bool value) { setAndUpdate(*this, m_downFrame, value); }
void TShineSpeedButton::setActiveImage(TActiveImageType value) { setAndUpdate(*this, m_activeImage, value); }
void TShineSpeedButton::setDisabledImage(TDisabledImageType value) { setAndUpdate(*this, m_disabledImage, value); }
void TShineSpeedButton::setDisabledHighlight(TColor value) { setAndUpdate(*this, m_disabledHighlight, value); }
void TShineSpeedButton::setDisabledShadow(TColor value) { setAndUpdate(*this, m_disabledShadow, value); }
void TShineSpeedButton::setShineColor(TColor value) { setAndUpdate(*this, m_shineColor, value); }
void TShineSpeedButton::setLayout(TButtonLayout value) { setAndUpdate(*this, m_layout, value); }
void TShineSpeedButton::setMargin(int value) { setAndUpdate(*this, m_margin, value); }
void TShineSpeedButton::setSpacing(int value) { setAndUpdate(*this, m_spacing, value); }
void TShineSpeedButton::setFontHighlight(TColor value) { setAndUpdate(*this, m_fontHighlight, value); }
void TShineSpeedButton::setFontShadow(TColor value) { setAndUpdate(*this, m_fontShadow, value); }
void TShineSpeedButton::setFont(const TFont& value) { setAndUpdate(*this, m_font, value); }
void TShineSpeedButton::setActiveFont(const TFont& value) { setAndUpdate(*this, m_activeFont, value); }

void TShineSpeedButton::setTransparent(bool value)
{
    if (setAndUpdate(*this, m_transparent, value)) setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
}

void TShineSpeedButton::setGlyph(const QImage& value)
{
    // Kept as 32-bit pixels, the form the state effects work on.
    setAndUpdate(*this, m_glyph, value.isNull() ? QImage() : value.convertToFormat(QImage::Format_RGB32));
}

void TShineSpeedButton::setCaption(const QString& value)
{
    if (setAndUpdate(*this, m_caption, value)) updateAccelerator();
}

void TShineSpeedButton::Loaded()
{
    m_loading = false;
    updateAccelerator();
    update();
}

void TShineSpeedButton::updateAccelerator()
{
    if (m_loading) return;
    if (m_shortcutId != 0) releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    if (!mnemonic.isEmpty()) m_shortcutId = grabShortcut(mnemonic);
}

QImage TShineSpeedButton::CreateStateGlyph() const
{
    return createStateGlyph(m_glyph, m_state, m_activeImage, m_disabledImage, m_shineColor, m_colors.Color());
}

// ---- drawing ----

namespace {

bool isDownState(TShineState state) { return state == stActiveDown || state == stDown; }
bool isActiveState(TShineState state) { return state == stActiveDown || state == stActiveUp; }

void hline(QPainter& painter, int y, int x1, int x2, TColor colour)
{
    if (x2 >= x1) painter.fillRect(QRect(x1, y, x2 - x1 + 1, 1), toQColor(colour));
}

void vline(QPainter& painter, int x, int y1, int y2, TColor colour)
{
    if (y2 >= y1) painter.fillRect(QRect(x, y1, 1, y2 - y1 + 1), toQColor(colour));
}

// The pixels of image that are not its transparent colour, drawn in their own colour
// (or in one colour when given), as a picture with alpha.
QImage keyedOut(const QImage& image, QRgb key, const QColor* oneColour)
{
    QImage out(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool hidden = (in[x] & 0xFFFFFF) == (key & 0xFFFFFF);
            line[x] = hidden ? 0 : (oneColour ? oneColour->rgb() : (in[x] | 0xFF000000));
        }
    }
    return out;
}

}  // namespace

void TShineSpeedButton::paintEvent(QPaintEvent*)
{
    if (m_transparent) {
        QPainter painter(this);
        BackDraw(painter);
        ImageDraw(painter);
        FrameDraw(painter);
        return;
    }
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter offscreen(&image);
        BackDraw(offscreen);
        ImageDraw(offscreen);
        FrameDraw(offscreen);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void TShineSpeedButton::BackDraw(QPainter& painter)
{
    if (m_transparent) return;
    const TShineBtnColors& set = isDownState(m_state) ? m_pressedColors : m_colors;
    const int w = width();
    const int h = height();
    if (!set.Gradation()) {
        painter.fillRect(rect(), toQColor(set.Color()));
        return;
    }
    // The 256-entry ramp stretched nearest-neighbour: row (or column) i shows entry i * 256 / length.
    const std::array<QRgb, 256> ramp = buttonRamp(set.Color(), set.GradColor());
    const int length = set.GradVertical() ? h : w;
    for (int i = 0; i < length; ++i) {
        const QColor colour = QColor::fromRgb(ramp[static_cast<std::size_t>(i * 256 / length)]);
        if (set.GradVertical()) painter.fillRect(0, i, w, 1, colour);
        else painter.fillRect(i, 0, 1, h, colour);
    }
}

void TShineSpeedButton::FrameDraw(QPainter& painter)
{
    bool drawn = m_upFrame;
    if (isActiveState(m_state)) drawn = m_activeFrame;
    if (m_state == stDown) drawn = m_downFrame;
    if (!drawn) return;

    const bool sunken = isDownState(m_state);
    const TShineBtnColors& set = sunken ? m_pressedColors : m_colors;
    const int w = width();
    const int h = height();
    const TColor light = set.Highlight();
    const TColor dark = set.Shadow();
    switch (m_frameType) {
    case ftFlatFrame: {
        const TColor topLeft = sunken ? dark : light;
        const TColor bottomRight = sunken ? light : dark;
        hline(painter, 0, 0, w - 2, topLeft);
        vline(painter, 0, 0, h - 2, topLeft);
        hline(painter, h - 1, 1, w - 1, bottomRight);
        vline(painter, w - 1, 1, h - 1, bottomRight);
        break;
    }
    case ftNormalFrame:
        if (!sunken) {
            hline(painter, h - 2, 1, w - 2, dark);
            vline(painter, w - 2, 1, h - 2, dark);
            hline(painter, h - 1, 1, w - 1, set.DarkShadow());
            vline(painter, w - 1, 1, h - 1, set.DarkShadow());
            hline(painter, 0, 0, w - 2, light);
            vline(painter, 0, 0, h - 2, light);
        } else {
            hline(painter, 1, 1, w - 2, dark);
            vline(painter, 1, 1, h - 2, dark);
            hline(painter, 0, 0, w - 2, set.DarkShadow());
            vline(painter, 0, 0, h - 2, set.DarkShadow());
            hline(painter, h - 1, 1, w - 1, light);
            vline(painter, w - 1, 1, h - 1, light);
        }
        break;
    case ftEnclosedFrame: {
        const TColor inner = sunken ? dark : light;
        const TColor outer = sunken ? light : dark;
        hline(painter, 1, 1, w - 3, inner);
        vline(painter, 1, 1, h - 3, inner);
        hline(painter, h - 2, 2, w - 2, outer);
        vline(painter, w - 2, 2, h - 2, outer);
        // The outer ring is always the up colours' darkest line, pressed or not.
        const TColor ring = m_colors.DarkShadow();
        hline(painter, 0, 0, w - 1, ring);
        hline(painter, h - 1, 0, w - 1, ring);
        vline(painter, 0, 0, h - 1, ring);
        vline(painter, w - 1, 0, h - 1, ring);
        break;
    }
    }
}

void TShineSpeedButton::CalcDrawPosition(const QFont& font, QPoint& glyphPos, QRect& textRect) const
{
    const bool hasGlyph = !m_glyph.isNull();
    const bool hasCaption = !m_caption.isEmpty();
    const QRect measured = measureText(font, m_caption, QRect(0, 0, width(), 0), 0);
    const int tw = measured.width(), th = measured.height();
    const int gw = hasGlyph ? m_glyph.width() : 0, gh = hasGlyph ? m_glyph.height() : 0;

    int bw = 0, bh = 0, gx = 0, gy = 0, tx = 0, ty = 0;
    switch (m_layout) {
    case blGlyphLeft:
        gx = bw;
        bw += gw;
        bh = std::max(bh, gh);
        if (hasGlyph && hasCaption) bw += m_spacing;
        tx = bw;
        if (hasCaption) bw += tw, bh = std::max(bh, th);
        if (hasGlyph) gy = (bh - gh) / 2;
        if (hasCaption) ty = (bh - th) / 2;
        break;
    case blGlyphRight:
        tx = bw;
        if (hasCaption) bw += tw, bh = std::max(bh, th);
        if (hasGlyph && hasCaption) bw += m_spacing;
        gx = bw;
        if (hasGlyph) bw += gw, bh = std::max(bh, gh);
        if (hasGlyph) gy = (bh - gh) / 2;
        if (hasCaption) ty = (bh - th) / 2;
        break;
    case blGlyphTop:
        gy = bh;
        if (hasGlyph) bh += gh, bw = std::max(bw, gw);
        // The spacing is added for a caption even without a glyph above it.
        if (hasCaption) bh += m_spacing;
        ty = bh;
        if (hasCaption) bh += th, bw = std::max(bw, tw);
        if (hasGlyph) gx = (bw - gw) / 2;
        if (hasCaption) tx = (bw - tw) / 2;
        break;
    case blGlyphBottom:
        ty = bh;
        if (hasCaption) bh += th, bw = std::max(bw, tw);
        if (hasGlyph && hasCaption) bh += m_spacing;
        gy = bh;
        bh += gh, bw = std::max(bw, gw);
        if (hasGlyph) gx = (bw - gw) / 2;
        if (hasCaption) tx = (bw - tw) / 2;
        break;
    }

    int ox = (width() - bw) / 2;
    int oy = (height() - bh) / 2;
    if (m_margin >= 0) {
        switch (m_layout) {
        case blGlyphLeft: ox = m_margin; break;
        case blGlyphRight: ox = width() - bw - m_margin; break;
        case blGlyphTop: oy = m_margin; break;
        case blGlyphBottom: oy = height() - bh - m_margin; break;
        }
    }
    glyphPos = QPoint(gx + ox, gy + oy);
    textRect = measured.translated(tx + ox, ty + oy);
}

void TShineSpeedButton::ImageDraw(QPainter& painter)
{
    const TFont& font = isActiveState(m_state) ? m_activeFont : m_font;
    const QImage stateGlyph = CreateStateGlyph();
    QPoint glyphPos;
    QRect textRect;
    CalcDrawPosition(font.font, glyphPos, textRect);
    const QPoint pressed = isDownState(m_state) ? QPoint(1, 1) : QPoint(0, 0);

    if (!stateGlyph.isNull()) {
        glyphPos += pressed;
        if (m_state == stDisabled && m_disabledImage == diDefault) {
            // The edge mask: its white pixels in the light colour one pixel down-right,
            // then in the dark colour in place.
            const QColor light = toQColor(m_disabledHighlight);
            const QColor dark = toQColor(m_disabledShadow);
            painter.drawImage(glyphPos + QPoint(1, 1), keyedOut(stateGlyph, qRgb(0, 0, 0), &light));
            painter.drawImage(glyphPos, keyedOut(stateGlyph, qRgb(0, 0, 0), &dark));
        } else {
            const QRgb key = stateGlyph.pixel(0, stateGlyph.height() - 1);
            painter.drawImage(glyphPos, keyedOut(stateGlyph, key, nullptr));
        }
    }

    if (m_caption.isEmpty()) return;
    textRect.translate(pressed);
    const unsigned format = DT_CENTER | DT_VCENTER;
    const auto draw = [&](QPoint offset, TColor colour) {
        drawText(&painter, font.font, m_caption, textRect.translated(offset), format, toQColor(colour));
    };
    if (m_state == stDisabled) {
        draw(QPoint(1, 1), m_disabledHighlight);
        draw(QPoint(0, 0), m_disabledShadow);
        return;
    }
    if (m_fontShadow != clNone) draw(QPoint(1, 1), m_fontShadow);
    if (m_fontHighlight != clNone) draw(QPoint(-1, -1), m_fontHighlight);
    draw(QPoint(0, 0), font.Color);
}

// ---- behaviour ----

bool TShineSpeedButton::inside(QPoint pos) const
{
    return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
}

QPoint TShineSpeedButton::cursorPos() const { return mapFromGlobal(QCursor::pos()); }

void TShineSpeedButton::storeState(TShineState value)
{
    // A disabled button keeps its disabled face, whatever a handler does meanwhile.
    m_state = isEnabled() ? value : stDisabled;
}

void TShineSpeedButton::setState(TShineState value, bool repaintNow)
{
    storeState(value);
    if (repaintNow) repaint();
    else update();
}

void TShineSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    CMMouseEnter();
}

void TShineSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    CMMouseLeave();
}

void TShineSpeedButton::CMMouseEnter()
{
    MouseEnter(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons(), cursorPos());
}

void TShineSpeedButton::CMMouseLeave()
{
    MouseLeave(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons(), cursorPos());
}

void TShineSpeedButton::MouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos)
{
    QPointer<TShineSpeedButton> self(this);
    emit mouseEnter(modifiers, buttons, pos.x(), pos.y());
    if (!self || m_mouseInControl || !isEnabled() || QWidget::mouseGrabber()) return;
    m_mouseInControl = true;
    if (m_state == stUp) m_state = stActiveUp;
    if (m_state == stDown) m_state = stActiveDown;
    repaint();
    m_activeButtonTimer.start();
}

void TShineSpeedButton::MouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos)
{
    QPointer<TShineSpeedButton> self(this);
    emit mouseLeave(modifiers, buttons, pos.x(), pos.y());
    if (!self || !m_mouseInControl || !isEnabled() || m_dragging) return;
    m_activeButtonTimer.stop();
    m_mouseInControl = false;
    if (m_state == stActiveUp) m_state = stUp;
    if (m_state == stActiveDown) m_state = stDown;
    repaint();
}

// Repairs a leave the window system never reported.
void TShineSpeedButton::ActiveButtonTimerOnTimer()
{
    if (!m_mouseInControl || !isEnabled() || m_dragging) {
        m_activeButtonTimer.stop();
        return;
    }
    const QPoint pos = cursorPos();
    if (!inside(pos)) MouseLeave(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons(), pos);
}

void TShineSpeedButton::UpdateTracking()
{
    if (!isEnabled()) return;
    // Set the flag to the opposite first, so exactly the matching enter or leave takes effect.
    if (QApplication::widgetAt(QCursor::pos()) == this) {
        m_mouseInControl = false;
        CMMouseEnter();
    } else {
        m_mouseInControl = true;
        CMMouseLeave();
    }
}

void TShineSpeedButton::mousePressEvent(QMouseEvent* event)
{
    QPointer<TShineSpeedButton> self(this);
    const QPoint pos = event->position().toPoint();
    emit mouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
    if (!self) return;
    if (event->button() != Qt::LeftButton || !isEnabled()) return;
    m_state = stActiveDown;
    if (!m_down) update();
    m_dragging = true;
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    QPointer<TShineSpeedButton> self(this);
    const QPoint pos = event->position().toPoint();
    emit mouseMove(event->modifiers(), event->buttons(), pos.x(), pos.y());
    if (!self) return;
    if (m_dragging) {
        const TShineState wanted = inside(pos) ? stActiveDown : (m_down ? stDown : stUp);
        if (wanted != m_state) setState(wanted, false);
    } else if (!m_mouseInControl) {
        UpdateTracking();
    }
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<TShineSpeedButton> self(this);
    const QPoint pos = event->position().toPoint();
    emit mouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
    if (!self || !m_dragging) return;

    const bool in = inside(pos);
    if (m_groupIndex == 0) {
        storeState(stUp);
        m_mouseInControl = false;
        m_down = false;
        if (in) repaint();
    } else if (in) {
        setDown(!m_down);
        if (m_down) repaint();
    } else {
        setState(m_down ? stActiveDown : stActiveUp, true);
    }
    m_dragging = false;
    if (in) {
        Click();
        if (!self) return;
    }
    UpdateTracking();
}

void TShineSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click presses like the first; the double
    // click itself counts only on a latched-down button.
    QPointer<TShineSpeedButton> self(this);
    mousePressEvent(event);
    if (self && event->button() == Qt::LeftButton && m_down) emit doubleClicked();
}

void TShineSpeedButton::Click()
{
    QPointer<TShineSpeedButton> self(this);
    const TShineState remembered = m_state;
    if (m_clickDownHook) setState(stActiveDown, true);
    emit clicked();
    // The click handler may run for long, with events handled inside it; the
    // button may even be gone when it returns.
    if (!self) return;
    if (m_clickDownHook) setState(remembered, true);
}

bool TShineSpeedButton::DialogChar(QChar key)
{
    const QChar accel = accelChar(m_caption);
    if (accel.isNull() || key.toUpper() != accel.toUpper()) return false;
    if (!isEnabled() || !isVisible() || !parentWidget() || !parentWidget()->isVisible()) return false;
    QPointer<TShineSpeedButton> self(this);
    if (m_accelCharDown) setDown(!m_down);
    if (self) Click();
    return true;
}

bool TShineSpeedButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == m_shortcutId) {
            DialogChar(accelChar(m_caption));
            return true;
        }
    }
    return QWidget::event(event);
}

void TShineSpeedButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) EnabledChanged();
}

void TShineSpeedButton::EnabledChanged()
{
    m_down = false;
    storeState(stUp);
    if (!isEnabled()) m_dragging = false;
    if (!m_loading) UpdateTracking();
    update();
}

// ---- groups ----

void TShineSpeedButton::setDown(bool value)
{
    if (value == m_down || m_groupIndex == 0) return;
    if (!m_allowAllUp && m_down) return;  // released only by another member going down
    m_down = value;
    GroupUpdateStatus(m_groupIndex);
    setState(m_down ? stDown : stUp, !m_loading);
}

void TShineSpeedButton::setAllowAllUp(bool value)
{
    if (storeChanged(m_allowAllUp, value)) GroupUpdateStatus(m_groupIndex);
}

void TShineSpeedButton::setGroupIndex(int value)
{
    if (m_groupIndex == value) return;
    GroupUpdateStatus(value);
}

// Tells every button of the same parent that this one's group changed.
void TShineSpeedButton::GroupUpdateStatus(int index)
{
    m_groupIndex = index;
    if (index == 0 || !parentWidget()) return;
    QList<QPointer<TShineSpeedButton>> siblings;
    for (TShineSpeedButton* b : parentWidget()->findChildren<TShineSpeedButton*>(Qt::FindDirectChildrenOnly))
        siblings.append(b);
    for (const QPointer<TShineSpeedButton>& b : siblings)
        if (b) b->ButtonPressed(index, this);
}

void TShineSpeedButton::ButtonPressed(int groupIndex, const TShineSpeedButton* sender)
{
    if (groupIndex != m_groupIndex || !sender || sender == this) return;
    if (sender->m_down && m_down) {
        m_down = false;
        storeState(stUp);
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

}  // namespace kelmora
