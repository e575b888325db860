#pragma once
// Balloon hints. While enabled, a TKmShapeHint takes over every tool tip of the
// application: after the pointer rests 500 ms on a control with a tool tip (no
// pause when it moves on from a shown hint to another hinted control) a speech
// balloon points at the pointer, and it hides after 2500 ms or when the pointer
// leaves the control. The balloon is a shaped top-level window.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include "controls/Colors.h"
#include "controls/Fonts.h"

namespace kelmora {

enum TKmHintPosition { hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight };
enum TKmHintStyle { hsRect, hsRoundRect, hsEllipse, hsNoseRect, hsNoseRoundRect, hsNoseEllipse };
enum TKmShadowStyle { hssNone, hssSolid, hssTracing };

class TKmShadow {
public:
    TColor Color() const { return m_color; }
    void setColor(TColor color) { m_color = color; }
    int Depth() const { return m_depth; }
    void setDepth(int depth) { m_depth = depth < 0 ? 0 : (depth > 255 ? 255 : depth); }
    TKmShadowStyle Style() const { return m_style; }
    void setStyle(TKmShadowStyle style) { m_style = style; }
    bool operator==(const TKmShadow&) const = default;

private:
    TColor m_color = clBtnShadow;
    int m_depth = 6;
    TKmShadowStyle m_style = hssSolid;
};

// Everything a balloon is drawn from.
struct THintLook {
    TKmHintStyle style = hsNoseRoundRect;
    TColor color = clInfoBk;
    TColor borderColor = clBlack;
    TFont font;
    TKmShadow shadow;
};

// Wrap width: positive as given, -n a screen width / n, 0 one pixel.
int hintWrapWidth(int maxWidth, int screenWidth);
// Measured text plus 6 each way (R x B); an empty text measures as one space.
QSize hintTextBox(const QString& text, const QFont& font, int wrapWidth);
// Window size for a style from the text box and the shadow depth.
QSize hintWindowSize(TKmHintStyle style, QSize textBox, int depth);
// Where the text box sits in the window.
QPoint hintTextOffset(TKmHintStyle style, TKmHintPosition placement, QSize textBox, int depth);

struct THintPlacement {
    QPoint topLeft;
    TKmHintPosition placement;
};
// Tries the four placements in cyclic order from the preferred one and takes the
// first that lies on the screen; when none does, the fourth one tried.
THintPlacement placeHint(QPoint anchor, QSize window, QRect screen, TKmHintPosition preferred);

// The balloon with its shadow on a transparent image of the window's size.
QImage drawHintBalloon(const THintLook& look, QSize window, TKmHintPosition placement);

// The balloon window: shaped to the balloon, never takes the mouse or the focus.
class TKmShapeHintWindow : public QWidget {
public:
    TKmShapeHintWindow();
    // Lays out and shows text pointing at anchor (screen coordinates).
    void activate(const QString& text, QPoint anchor, const THintLook& look, int maxWidth, TKmHintPosition preferred);
    TKmHintPosition placement() const { return m_placement; }
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_picture;
    TKmHintPosition m_placement = hpAboveRight;
};

class TKmShapeHint : public QObject {
    Q_OBJECT
public:
    static constexpr int kHintPauseMs = 500;
    static constexpr int kHintHidePauseMs = 2500;

    explicit TKmShapeHint(QObject* parent = nullptr);
    ~TKmShapeHint() override;

    void BeginLoad() { m_loading = true; }
    void Loaded();

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool Active() const { return m_enabled; }
    void setActive(bool active) { setEnabled(active); }
    // The hint that currently shows the application's tool tips, or null.
    static TKmShapeHint* current();

    TColor Color() const { return m_look.color; }
    void setColor(TColor color) { m_look.color = color; }
    const TFont& Font() const { return m_look.font; }
    TFont& Font() { return m_look.font; }
    void setFont(const TFont& font) { m_look.font = font; }
    TColor BorderColor() const { return m_look.borderColor; }
    void setBorderColor(TColor color) { m_look.borderColor = color; }
    TKmShadow& Shadow() { return m_look.shadow; }
    const TKmShadow& Shadow() const { return m_look.shadow; }
    TColor ShadowColor() const { return m_look.shadow.Color(); }
    void setShadowColor(TColor color) { m_look.shadow.setColor(color); }
    int ShadowDepth() const { return m_look.shadow.Depth(); }
    void setShadowDepth(int depth) { m_look.shadow.setDepth(depth); }
    int MaxWidth() const { return m_maxWidth; }
    void setMaxWidth(int maxWidth) { m_maxWidth = maxWidth; }
    TKmHintPosition Position() const { return m_position; }
    void setPosition(TKmHintPosition position) { m_position = position; }
    TKmHintStyle Style() const { return m_look.style; }
    void setStyle(TKmHintStyle style) { m_look.style = style; }
    const THintLook& look() const { return m_look; }

    // Shows a balloon pointing at (x, y) for duration ms, handling events meanwhile.
    void ShowHint(const QString& text, int x, int y, int durationMs);
    // The same pointing at the centre of control, with its tool tip when text is empty.
    void ShowControlHint(const QString& text, QWidget* control, int durationMs);

    // The balloon of the application's tool tips while one shows, else null.
    TKmShapeHintWindow* hintWindow() const;
    // The control whose tool tip shows or is about to show.
    QWidget* hintControl() const { return m_control; }

    // Watches the whole application for pointer moves and tool tips.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void closeHintWindow();  // OnCloseHintWindow

private:
    void pointerAt(QWidget* widget);
    void showNow();
    void hideHint(bool keepQuick);
    void apply();

    THintLook m_look;
    int m_maxWidth = -4;
    TKmHintPosition m_position = hpAboveRight;
    bool m_enabled = true;
    bool m_loading = false;
    bool m_installed = false;
    bool m_quick = false;  // a hint just hid by leaving: the next shows at once
    QPointer<QWidget> m_control;
    QPoint m_pointer;
    QTimer m_showTimer, m_hideTimer;
    TKmShapeHintWindow* m_window = nullptr;
};

}  // namespace kelmora
