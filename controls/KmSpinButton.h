#pragma once
// The two-half spin button inside a spin edit's right edge. The square is split
// by its diagonal from the bottom-left to the top-right corner: the upper-left
// triangle steps up, the lower-right one steps down. Holding a half repeats the
// step on a 50 ms tick: first after Interval + 200 ms, then every Interval. The
// repeat ends with the hold: on the release, and whenever the button loses the
// mouse without one (a modal window or a pop-up opens, the window deactivates,
// another widget grabs the mouse, the button hides) or a step's handler throws.

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace kelmora {

class TKmSpinButton : public QWidget {
    Q_OBJECT
public:
    // State of the button, also the index of its image in the strip.
    enum State : int { sNormal = 0, sUpPressed = 1, sDownPressed = 2, sDisabled = 3 };

    static constexpr int kTickMs = 50;

    explicit TKmSpinButton(QWidget* parent = nullptr);

    int Interval() const { return m_interval; }
    void setInterval(int ms);

    State state() const { return m_state; }

    // True when (x, y) of a W x H button lies on the down half.
    static bool isDownHalf(int x, int y, int width, int height) { return y > height - x * width / height; }

    // One state image (W x H), as drawn into the strip.
    static QImage stateImage(int state, int width, int height);

    // The strip of the four images, drawn when the size changes, and how often it was drawn (for checks).
    const QImage& strip() const { return m_strip; }
    int stripDraws() const { return m_stripDraws; }

    // One tick of the repeat timer; public so the step timing can be driven directly.
    void repeatTick();
    bool repeating() const { return m_timer.isActive(); }

signals:
    void upClick();
    void downClick();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void changeEvent(QEvent*) override;
    void hideEvent(QHideEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setState(State s);
    void stepPressedHalf();
    // Ends a hold that will see no release: no repeat, no pressed look.
    void endHold();
    // False once the mouse belongs to something else than this button.
    bool holdsMouse() const;
    // True when the strip holds the four images at the button's size.
    bool stripFits() const;

    QTimer m_timer;
    int m_ticksLeft = 0;  // ticks until the next repeat step
    QImage m_strip;
    int m_stripDraws = 0;
    State m_state = sNormal;
    int m_pressedHalf = 0;  // 1 up, 2 down, 0 none
    int m_interval = 100;
    bool m_pressing = false;
    QPointer<QWidget> m_watchedWindow;  // the window whose loss of the mouse ends the hold
};

}  // namespace kelmora
