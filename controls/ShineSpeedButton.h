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

    TColor Color() const { return m_color; }
    void setColor(TColor value);
    TColor Highlight() const { return m_highlight; }
    void setHighlight(TColor value);
    TColor Shadow() const { return m_shadow; }
    void setShadow(TColor value);
    TColor DarkShadow() const { return m_darkShadow; }
    void setDarkShadow(TColor value);
    TColor GradColor() const { return m_gradColor; }
    void setGradColor(TColor value);
    bool GradVertical() const { return m_gradVertical; }
    void setGradVertical(bool value);
    bool Gradation() const { return m_gradation; }
    void setGradation(bool value);

    // Copies all seven values and raises one change.
    void Assign(const TShineBtnColors& source);

signals:
    void changed();

private:
    TColor m_color;
    TColor m_highlight = clBtnHighlight;
    TColor m_shadow = clBtnShadow;
    TColor m_darkShadow = clWindowFrame;
    TColor m_gradColor = clBlue;
    bool m_gradVertical = false;
    bool m_gradation = false;
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

    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int value);
    bool Down() const { return m_down; }
    void setDown(bool value);
    bool ClickDownHook() const { return m_clickDownHook; }
    void setClickDownHook(bool value);
    bool AccelCharDown() const { return m_accelCharDown; }
    void setAccelCharDown(bool value);
    TFrameType FrameType() const { return m_frameType; }
    void setFrameType(TFrameType value);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool value);
    bool ActiveFrame() const { return m_activeFrame; }
    void setActiveFrame(bool value);
    bool UpFrame() const { return m_upFrame; }
    void setUpFrame(bool value);
    bool DownFrame() const { return m_downFrame; }
    void setDownFrame(bool value);
    TActiveImageType ActiveImage() const { return m_activeImage; }
    void setActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return m_disabledImage; }
    void setDisabledImage(TDisabledImageType value);
    TColor DisabledHighlight() const { return m_disabledHighlight; }
    void setDisabledHighlight(TColor value);
    TColor DisabledShadow() const { return m_disabledShadow; }
    void setDisabledShadow(TColor value);
    TShineBtnColors& Colors() { return m_colors; }
    const TShineBtnColors& Colors() const { return m_colors; }
    void setColors(const TShineBtnColors& value) { m_colors.Assign(value); }
    TShineBtnColors& PressedColors() { return m_pressedColors; }
    const TShineBtnColors& PressedColors() const { return m_pressedColors; }
    void setPressedColors(const TShineBtnColors& value) { m_pressedColors.Assign(value); }
    TColor ShineColor() const { return m_shineColor; }
    void setShineColor(TColor value);
    const TFont& Font() const { return m_font; }
    void setFont(const TFont& value);
    using QWidget::setFont;
    TColor FontHighlight() const { return m_fontHighlight; }
    void setFontHighlight(TColor value);
    TColor FontShadow() const { return m_fontShadow; }
    void setFontShadow(TColor value);
    const TFont& ActiveFont() const { return m_activeFont; }
    void setActiveFont(const TFont& value);
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool value);
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout value);
    int Margin() const { return m_margin; }
    void setMargin(int value);
    int Spacing() const { return m_spacing; }
    void setSpacing(int value);
    const QImage& Glyph() const { return m_glyph; }
    void setGlyph(const QImage& value);  // a null image empties the glyph

    QString Caption() const { return m_caption; }
    void setCaption(const QString& value);

    // The drawing state; a new button is stUp.
    TShineState State() const { return m_state; }

    // Where the glyph's top-left corner and the caption's rectangle go for a font.
    void CalcDrawPosition(const QFont& font, QPoint& glyphPos, QRect& textRect) const;

    // The glyph as drawn in the current state; null when there is no glyph.
    QImage CreateStateGlyph() const;

    // The accelerator: when key is the caption's accelerator character and the
    // button can act, toggles Down (with AccelCharDown), clicks and returns true.
    bool DialogChar(QChar key);

    void BeginLoad() { m_loading = true; }
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
    void storeState(TShineState value);
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

    int m_groupIndex = 0;
    bool m_down = false;
    bool m_clickDownHook = false;
    bool m_accelCharDown = false;
    TFrameType m_frameType = ftNormalFrame;
    bool m_transparent = false;
    bool m_activeFrame = true;
    bool m_upFrame = true;
    bool m_downFrame = true;
    TActiveImageType m_activeImage = aiFrameLight;
    TDisabledImageType m_disabledImage = diDefault;
    TColor m_disabledHighlight = clBtnHighlight;
    TColor m_disabledShadow = clBtnShadow;
    TShineBtnColors m_colors{clBtnFace};
    TShineBtnColors m_pressedColors{clBtnHighlight};
    TColor m_shineColor = clYellow;
    TFont m_font;
    TColor m_fontHighlight = clNone;
    TColor m_fontShadow = clNone;
    TFont m_activeFont;
    bool m_allowAllUp = false;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    QImage m_glyph;
    QString m_caption;

    TShineState m_state = stUp;
    bool m_mouseInControl = false;
    bool m_dragging = false;
    QTimer m_activeButtonTimer;
    int m_shortcutId = 0;
    bool m_loading = false;
};

}  // namespace kelmora
