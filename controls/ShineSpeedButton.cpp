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

namespace kelmora {

// ---- TShineBtnColors ----

TShineBtnColors::TShineBtnColors(TColor color, QObject* parent) : QObject(parent), color_(color) {}

template <typename T>
void TShineBtnColors::store(T& field, T value)
{
    if (field == value) return;
    field = value;
    emit changed();
}

void TShineBtnColors::setColor(TColor value) { store(color_, value); }
void TShineBtnColors::setHighlight(TColor value) { store(highlight_, value); }
void TShineBtnColors::setShadow(TColor value) { store(shadow_, value); }
void TShineBtnColors::setDarkShadow(TColor value) { store(darkShadow_, value); }
void TShineBtnColors::setGradColor(TColor value) { store(gradColor_, value); }
void TShineBtnColors::setGradVertical(bool value) { store(gradVertical_, value); }
void TShineBtnColors::setGradation(bool value) { store(gradation_, value); }

void TShineBtnColors::Assign(const TShineBtnColors& source)
{
    color_ = source.color_;
    highlight_ = source.highlight_;
    shadow_ = source.shadow_;
    darkShadow_ = source.darkShadow_;
    gradColor_ = source.gradColor_;
    gradVertical_ = source.gradVertical_;
    gradation_ = source.gradation_;
    emit changed();
}

// ---- TShineSpeedButton: properties ----

TShineSpeedButton::TShineSpeedButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    font_.Color = clBtnText;
    activeFont_.Color = clHighlight;
    connect(&colors_, &TShineBtnColors::changed, this, &TShineSpeedButton::invalidate);
    connect(&pressedColors_, &TShineBtnColors::changed, this, &TShineSpeedButton::invalidate);
    activeButtonTimer_.setInterval(200);
    connect(&activeButtonTimer_, &QTimer::timeout, this, &TShineSpeedButton::ActiveButtonTimerOnTimer);
    resize(25, 25);
}

TShineSpeedButton::~TShineSpeedButton() { activeButtonTimer_.stop(); }

void TShineSpeedButton::invalidate()
{
    if (!loading_) update();
}

template <typename T>
void TShineSpeedButton::store(T& field, T value)
{
    if (field == value) return;
    field = value;
    invalidate();
}

void TShineSpeedButton::setClickDownHook(bool value) { store(clickDownHook_, value); }
void TShineSpeedButton::setAccelCharDown(bool value) { store(accelCharDown_, value); }
void TShineSpeedButton::setFrameType(TFrameType value) { store(frameType_, value); }
void TShineSpeedButton::setActiveFrame(bool value) { store(activeFrame_, value); }
void TShineSpeedButton::setUpFrame(bool value) { store(upFrame_, value); }
void TShineSpeedButton::setDownFrame(bool value) { store(downFrame_, value); }
void TShineSpeedButton::setActiveImage(TActiveImageType value) { store(activeImage_, value); }
void TShineSpeedButton::setDisabledImage(TDisabledImageType value) { store(disabledImage_, value); }
void TShineSpeedButton::setDisabledHighlight(TColor value) { store(disabledHighlight_, value); }
void TShineSpeedButton::setDisabledShadow(TColor value) { store(disabledShadow_, value); }
void TShineSpeedButton::setShineColor(TColor value) { store(shineColor_, value); }
void TShineSpeedButton::setLayout(TButtonLayout value) { store(layout_, value); }
void TShineSpeedButton::setMargin(int value) { store(margin_, value); }
void TShineSpeedButton::setSpacing(int value) { store(spacing_, value); }

void TShineSpeedButton::setFontHighlight(TColor value)
{
    fontHighlight_ = value;
    invalidate();
}

void TShineSpeedButton::setFontShadow(TColor value)
{
    fontShadow_ = value;
    invalidate();
}

void TShineSpeedButton::setFont(const TFont& value)
{
    font_ = value;
    invalidate();
}

void TShineSpeedButton::setActiveFont(const TFont& value)
{
    activeFont_ = value;
    invalidate();
}

void TShineSpeedButton::setTransparent(bool value)
{
    if (transparent_ == value) return;
    transparent_ = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
    invalidate();
}

void TShineSpeedButton::setGlyph(const QImage& value)
{
    // Kept as 32-bit pixels, the form the state effects work on.
    glyph_ = value.isNull() ? QImage() : value.convertToFormat(QImage::Format_RGB32);
    invalidate();
}

void TShineSpeedButton::setCaption(const QString& value)
{
    if (caption_ == value) return;
    caption_ = value;
    updateAccelerator();
    invalidate();
}

void TShineSpeedButton::Loaded()
{
    loading_ = false;
    updateAccelerator();
    update();
}

void TShineSpeedButton::updateAccelerator()
{
    if (loading_) return;
    if (shortcutId_ != 0) releaseShortcut(shortcutId_);
    shortcutId_ = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption_);
    if (!mnemonic.isEmpty()) shortcutId_ = grabShortcut(mnemonic);
}

QImage TShineSpeedButton::CreateStateGlyph() const
{
    return createStateGlyph(glyph_, state_, activeImage_, disabledImage_, shineColor_, colors_.Color());
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
    if (!isEnabled()) {
        state_ = stDisabled;
        dragging_ = false;
    }
    if (transparent_) {
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
    if (transparent_) return;
    const TShineBtnColors& set = isDownState(state_) ? pressedColors_ : colors_;
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
    bool drawn = upFrame_;
    if (isActiveState(state_)) drawn = activeFrame_;
    if (state_ == stDown) drawn = downFrame_;
    if (!drawn) return;

    const bool sunken = isDownState(state_);
    const TShineBtnColors& set = sunken ? pressedColors_ : colors_;
    const int w = width();
    const int h = height();
    const TColor light = set.Highlight();
    const TColor dark = set.Shadow();
    switch (frameType_) {
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
        const TColor ring = colors_.DarkShadow();
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
    const bool hasGlyph = !glyph_.isNull();
    const bool hasCaption = !caption_.isEmpty();
    const QRect measured = measureText(font, caption_, QRect(0, 0, width(), 0), 0);
    const int tw = measured.width(), th = measured.height();
    const int gw = hasGlyph ? glyph_.width() : 0, gh = hasGlyph ? glyph_.height() : 0;

    int bw = 0, bh = 0, gx = 0, gy = 0, tx = 0, ty = 0;
    switch (layout_) {
    case blGlyphLeft:
        gx = bw;
        bw += gw;
        bh = std::max(bh, gh);
        if (hasGlyph && hasCaption) bw += spacing_;
        tx = bw;
        if (hasCaption) bw += tw, bh = std::max(bh, th);
        if (hasGlyph) gy = (bh - gh) / 2;
        if (hasCaption) ty = (bh - th) / 2;
        break;
    case blGlyphRight:
        tx = bw;
        if (hasCaption) bw += tw, bh = std::max(bh, th);
        if (hasGlyph && hasCaption) bw += spacing_;
        gx = bw;
        if (hasGlyph) bw += gw, bh = std::max(bh, gh);
        if (hasGlyph) gy = (bh - gh) / 2;
        if (hasCaption) ty = (bh - th) / 2;
        break;
    case blGlyphTop:
        gy = bh;
        if (hasGlyph) bh += gh, bw = std::max(bw, gw);
        // The spacing is added for a caption even without a glyph above it.
        if (hasCaption) bh += spacing_;
        ty = bh;
        if (hasCaption) bh += th, bw = std::max(bw, tw);
        if (hasGlyph) gx = (bw - gw) / 2;
        if (hasCaption) tx = (bw - tw) / 2;
        break;
    case blGlyphBottom:
        ty = bh;
        if (hasCaption) bh += th, bw = std::max(bw, tw);
        if (hasGlyph && hasCaption) bh += spacing_;
        gy = bh;
        bh += gh, bw = std::max(bw, gw);
        if (hasGlyph) gx = (bw - gw) / 2;
        if (hasCaption) tx = (bw - tw) / 2;
        break;
    }

    int ox = (width() - bw) / 2;
    int oy = (height() - bh) / 2;
    if (margin_ >= 0) {
        switch (layout_) {
        case blGlyphLeft: ox = margin_; break;
        case blGlyphRight: ox = width() - bw - margin_; break;
        case blGlyphTop: oy = margin_; break;
        case blGlyphBottom: oy = height() - bh - margin_; break;
        }
    }
    glyphPos = QPoint(gx + ox, gy + oy);
    textRect = measured.translated(tx + ox, ty + oy);
}

void TShineSpeedButton::ImageDraw(QPainter& painter)
{
    const TFont& font = isActiveState(state_) ? activeFont_ : font_;
    const QImage stateGlyph = CreateStateGlyph();
    QPoint glyphPos;
    QRect textRect;
    CalcDrawPosition(font.font, glyphPos, textRect);
    const QPoint pressed = isDownState(state_) ? QPoint(1, 1) : QPoint(0, 0);

    if (!stateGlyph.isNull()) {
        glyphPos += pressed;
        if (state_ == stDisabled && disabledImage_ == diDefault) {
            // The edge mask: its white pixels in the light colour one pixel down-right,
            // then in the dark colour in place.
            const QColor light = toQColor(disabledHighlight_);
            const QColor dark = toQColor(disabledShadow_);
            painter.drawImage(glyphPos + QPoint(1, 1), keyedOut(stateGlyph, qRgb(0, 0, 0), &light));
            painter.drawImage(glyphPos, keyedOut(stateGlyph, qRgb(0, 0, 0), &dark));
        } else {
            const QRgb key = stateGlyph.pixel(0, stateGlyph.height() - 1);
            painter.drawImage(glyphPos, keyedOut(stateGlyph, key, nullptr));
        }
    }

    if (caption_.isEmpty()) return;
    textRect.translate(pressed);
    const unsigned format = DT_CENTER | DT_VCENTER;
    const auto draw = [&](QPoint offset, TColor colour) {
        drawText(&painter, font.font, caption_, textRect.translated(offset), format, toQColor(colour));
    };
    if (state_ == stDisabled) {
        draw(QPoint(1, 1), disabledHighlight_);
        draw(QPoint(0, 0), disabledShadow_);
        return;
    }
    if (fontShadow_ != clNone) draw(QPoint(1, 1), fontShadow_);
    if (fontHighlight_ != clNone) draw(QPoint(-1, -1), fontHighlight_);
    draw(QPoint(0, 0), font.Color);
}

// ---- behaviour ----

bool TShineSpeedButton::inside(QPoint pos) const
{
    return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() < height();
}

QPoint TShineSpeedButton::cursorPos() const { return mapFromGlobal(QCursor::pos()); }

void TShineSpeedButton::setState(TShineState value, bool repaintNow)
{
    state_ = value;
    if (repaintNow) repaint();
    else invalidate();
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
    if (!self || mouseInControl_ || !isEnabled() || QWidget::mouseGrabber()) return;
    mouseInControl_ = true;
    if (state_ == stUp) state_ = stActiveUp;
    if (state_ == stDown) state_ = stActiveDown;
    repaint();
    activeButtonTimer_.start();
}

void TShineSpeedButton::MouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos)
{
    QPointer<TShineSpeedButton> self(this);
    emit mouseLeave(modifiers, buttons, pos.x(), pos.y());
    if (!self || !mouseInControl_ || !isEnabled() || dragging_) return;
    activeButtonTimer_.stop();
    mouseInControl_ = false;
    if (state_ == stActiveUp) state_ = stUp;
    if (state_ == stActiveDown) state_ = stDown;
    repaint();
}

// Repairs a leave the window system never reported.
void TShineSpeedButton::ActiveButtonTimerOnTimer()
{
    if (!mouseInControl_ || !isEnabled() || dragging_) {
        activeButtonTimer_.stop();
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
        mouseInControl_ = false;
        CMMouseEnter();
    } else {
        mouseInControl_ = true;
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
    state_ = stActiveDown;
    if (!down_) invalidate();
    dragging_ = true;
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    QPointer<TShineSpeedButton> self(this);
    const QPoint pos = event->position().toPoint();
    emit mouseMove(event->modifiers(), event->buttons(), pos.x(), pos.y());
    if (!self) return;
    if (dragging_) {
        const TShineState wanted = inside(pos) ? stActiveDown : (down_ ? stDown : stUp);
        if (wanted != state_) setState(wanted, false);
    } else if (!mouseInControl_) {
        UpdateTracking();
    }
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    QPointer<TShineSpeedButton> self(this);
    const QPoint pos = event->position().toPoint();
    emit mouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
    if (!self || !dragging_) return;

    const bool in = inside(pos);
    if (groupIndex_ == 0) {
        state_ = stUp;
        mouseInControl_ = false;
        down_ = false;
        if (in) repaint();
    } else if (in) {
        setDown(!down_);
        if (down_) repaint();
    } else {
        setState(down_ ? stActiveDown : stActiveUp, true);
    }
    dragging_ = false;
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
    if (self && event->button() == Qt::LeftButton && down_) emit doubleClicked();
}

void TShineSpeedButton::Click()
{
    QPointer<TShineSpeedButton> self(this);
    const TShineState remembered = state_;
    if (clickDownHook_) setState(stActiveDown, true);
    emit clicked();
    // The click handler may run for long, with events handled inside it; the
    // button may even be gone when it returns.
    if (!self) return;
    if (clickDownHook_) setState(remembered, true);
}

bool TShineSpeedButton::DialogChar(QChar key)
{
    const QChar accel = accelChar(caption_);
    if (accel.isNull() || key.toUpper() != accel.toUpper()) return false;
    if (!isEnabled() || !isVisible() || !parentWidget() || !parentWidget()->isVisible()) return false;
    QPointer<TShineSpeedButton> self(this);
    if (accelCharDown_) setDown(!down_);
    if (self) Click();
    return true;
}

bool TShineSpeedButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == shortcutId_) {
            DialogChar(accelChar(caption_));
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
    down_ = false;
    state_ = isEnabled() ? stUp : stDisabled;
    if (!loading_) UpdateTracking();
    invalidate();
}

// ---- groups ----

void TShineSpeedButton::setDown(bool value)
{
    if (value == down_ || groupIndex_ == 0) return;
    if (!allowAllUp_ && down_) return;  // released only by another member going down
    down_ = value;
    GroupUpdateStatus(groupIndex_);
    setState(down_ ? stDown : stUp, !loading_);
}

void TShineSpeedButton::setAllowAllUp(bool value)
{
    if (allowAllUp_ == value) return;
    allowAllUp_ = value;
    GroupUpdateStatus(groupIndex_);
}

void TShineSpeedButton::setGroupIndex(int value)
{
    if (groupIndex_ == value) return;
    GroupUpdateStatus(value);
}

// Tells every button of the same parent that this one's group changed.
void TShineSpeedButton::GroupUpdateStatus(int index)
{
    groupIndex_ = index;
    if (index == 0 || !parentWidget()) return;
    QList<QPointer<TShineSpeedButton>> siblings;
    for (TShineSpeedButton* b : parentWidget()->findChildren<TShineSpeedButton*>(Qt::FindDirectChildrenOnly))
        siblings.append(b);
    for (const QPointer<TShineSpeedButton>& b : siblings)
        if (b) b->ButtonPressed(index, this);
}

void TShineSpeedButton::ButtonPressed(int groupIndex, const TShineSpeedButton* sender)
{
    if (groupIndex != groupIndex_ || !sender || sender == this) return;
    if (sender->down_ && down_) {
        down_ = false;
        state_ = stUp;
        invalidate();
    }
    allowAllUp_ = sender->allowAllUp_;
}

}  // namespace kelmora
