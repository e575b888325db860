#pragma once
// A push button that draws itself completely: a plain or gradient face, a
// bevel in one of three styles, an optional glyph with per-state effects, and
// a caption with optional shadow and highlight copies. It tracks the pointer
// (hot state), raises exactly one click per press released inside, can keep
// its pressed face while its click handler runs, and forms exclusive groups
// with its sibling buttons.

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "controls/Colors.h"
#include "controls/Fonts.h"
#include "controls/ShineStateGlyph.h"

namespace kelmora {

enum TFrameType { ftFlatFrame, ftNormalFrame, ftEnclosedFrame };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Face and bevel colours of one group of button states.
class TShineBtnColors : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE setColor)
    Q_PROPERTY(uint Highlight READ Highlight WRITE setHighlight)
    Q_PROPERTY(uint Shadow READ Shadow WRITE setShadow)
    Q_PROPERTY(uint DarkShadow READ DarkShadow WRITE setDarkShadow)
    Q_PROPERTY(uint GradColor READ GradColor WRITE setGradColor)
    Q_PROPERTY(bool GradVertical READ GradVertical WRITE setGradVertical)
    Q_PROPERTY(bool Gradation READ Gradation WRITE setGradation)

public:
    explicit TShineBtnColors(TColor color = clBtnFace, QObject* parent = nullptr);

    TColor Color() const { return color_; }
    void setColor(TColor value);
    TColor Highlight() const { return highlight_; }
    void setHighlight(TColor value);
    TColor Shadow() const { return shadow_; }
    void setShadow(TColor value);
    TColor DarkShadow() const { return darkShadow_; }
    void setDarkShadow(TColor value);
    TColor GradColor() const { return gradColor_; }
    void setGradColor(TColor value);
    bool GradVertical() const { return gradVertical_; }
    void setGradVertical(bool value);
    bool Gradation() const { return gradation_; }
    void setGradation(bool value);

    // Copies all seven values and raises one change.
    void Assign(const TShineBtnColors& source);

signals:
    void changed();

private:
    template <typename T>
    void store(T& field, T value);

    TColor color_;
    TColor highlight_ = clBtnHighlight;
    TColor shadow_ = clBtnShadow;
    TColor darkShadow_ = clWindowFrame;
    TColor gradColor_ = clBlue;
    bool gradVertical_ = false;
    bool gradation_ = false;
};

class TShineSpeedButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(bool ClickDownHook READ ClickDownHook WRITE setClickDownHook)
    Q_PROPERTY(bool AccelCharDown READ AccelCharDown WRITE setAccelCharDown)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool ActiveFrame READ ActiveFrame WRITE setActiveFrame)
    Q_PROPERTY(bool UpFrame READ UpFrame WRITE setUpFrame)
    Q_PROPERTY(bool DownFrame READ DownFrame WRITE setDownFrame)
    Q_PROPERTY(uint DisabledHighlight READ DisabledHighlight WRITE setDisabledHighlight)
    Q_PROPERTY(uint DisabledShadow READ DisabledShadow WRITE setDisabledShadow)
    Q_PROPERTY(uint ShineColor READ ShineColor WRITE setShineColor)
    Q_PROPERTY(uint FontHighlight READ FontHighlight WRITE setFontHighlight)
    Q_PROPERTY(uint FontShadow READ FontShadow WRITE setFontShadow)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(int Margin READ Margin WRITE setMargin)
    Q_PROPERTY(int Spacing READ Spacing WRITE setSpacing)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TShineSpeedButton(QWidget* parent = nullptr);
    ~TShineSpeedButton() override;

    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int value);
    bool Down() const { return down_; }
    void setDown(bool value);
    bool ClickDownHook() const { return clickDownHook_; }
    void setClickDownHook(bool value);
    bool AccelCharDown() const { return accelCharDown_; }
    void setAccelCharDown(bool value);
    TFrameType FrameType() const { return frameType_; }
    void setFrameType(TFrameType value);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool value);
    bool ActiveFrame() const { return activeFrame_; }
    void setActiveFrame(bool value);
    bool UpFrame() const { return upFrame_; }
    void setUpFrame(bool value);
    bool DownFrame() const { return downFrame_; }
    void setDownFrame(bool value);
    TActiveImageType ActiveImage() const { return activeImage_; }
    void setActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return disabledImage_; }
    void setDisabledImage(TDisabledImageType value);
    TColor DisabledHighlight() const { return disabledHighlight_; }
    void setDisabledHighlight(TColor value);
    TColor DisabledShadow() const { return disabledShadow_; }
    void setDisabledShadow(TColor value);
    TShineBtnColors& Colors() { return colors_; }
    const TShineBtnColors& Colors() const { return colors_; }
    void setColors(const TShineBtnColors& value) { colors_.Assign(value); }
    TShineBtnColors& PressedColors() { return pressedColors_; }
    const TShineBtnColors& PressedColors() const { return pressedColors_; }
    void setPressedColors(const TShineBtnColors& value) { pressedColors_.Assign(value); }
    TColor ShineColor() const { return shineColor_; }
    void setShineColor(TColor value);
    const TFont& Font() const { return font_; }
    void setFont(const TFont& value);
    using QWidget::setFont;
    TColor FontHighlight() const { return fontHighlight_; }
    void setFontHighlight(TColor value);
    TColor FontShadow() const { return fontShadow_; }
    void setFontShadow(TColor value);
    const TFont& ActiveFont() const { return activeFont_; }
    void setActiveFont(const TFont& value);
    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value);
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void setMargin(int value);
    int Spacing() const { return spacing_; }
    void setSpacing(int value);
    const QImage& Glyph() const { return glyph_; }
    void setGlyph(const QImage& value);  // a null image empties the glyph

    QString Caption() const { return caption_; }
    void setCaption(const QString& value);

    // The drawing state; a new button is stUp.
    TShineState State() const { return state_; }

    // Where the glyph's top-left corner and the caption's rectangle go for a font.
    void CalcDrawPosition(const QFont& font, QPoint& glyphPos, QRect& textRect) const;

    // The glyph as drawn in the current state; null when there is no glyph.
    QImage CreateStateGlyph() const;

    // The accelerator: when key is the caption's accelerator character and the
    // button can act, toggles Down (with AccelCharDown), clicks and returns true.
    bool DialogChar(QChar key);

    void BeginLoad() { loading_ = true; }
    void Loaded();

    QSize sizeHint() const override { return {25, 25}; }

signals:
    void clicked();
    void doubleClicked();
    void mouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);
    void mouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    virtual void MouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    virtual void MouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, QPoint pos);
    virtual void Click();
    void UpdateTracking();

private:
    template <typename T>
    void store(T& field, T value);
    void invalidate();
    void setState(TShineState value, bool repaintNow);
    void CMMouseEnter();
    void CMMouseLeave();
    void ActiveButtonTimerOnTimer();
    void GroupUpdateStatus(int index);
    void ButtonPressed(int groupIndex, const TShineSpeedButton* sender);
    void EnabledChanged();
    void updateAccelerator();
    bool inside(QPoint pos) const;
    QPoint cursorPos() const;

    void BackDraw(QPainter& painter);
    void ImageDraw(QPainter& painter);
    void FrameDraw(QPainter& painter);

    int groupIndex_ = 0;
    bool down_ = false;
    bool clickDownHook_ = false;
    bool accelCharDown_ = false;
    TFrameType frameType_ = ftNormalFrame;
    bool transparent_ = false;
    bool activeFrame_ = true;
    bool upFrame_ = true;
    bool downFrame_ = true;
    TActiveImageType activeImage_ = aiFrameLight;
    TDisabledImageType disabledImage_ = diDefault;
    TColor disabledHighlight_ = clBtnHighlight;
    TColor disabledShadow_ = clBtnShadow;
    TShineBtnColors colors_{clBtnFace};
    TShineBtnColors pressedColors_{clBtnHighlight};
    TColor shineColor_ = clYellow;
    TFont font_;
    TColor fontHighlight_ = clNone;
    TColor fontShadow_ = clNone;
    TFont activeFont_;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    QImage glyph_;
    QString caption_;

    TShineState state_ = stUp;
    bool mouseInControl_ = false;
    bool dragging_ = false;
    QTimer activeButtonTimer_;
    int shortcutId_ = 0;
    bool loading_ = false;
};

}  // namespace kelmora
