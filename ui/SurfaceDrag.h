#pragma once
// A frameless window's own surface acts as its caption: a press with the left
// button on the window itself (or on a graphic element that lets presses
// through) moves it, through the window system where it can, by following the
// pointer where it cannot (offscreen). Windowed children keep their presses.

#include <QObject>
#include <QPoint>

class QWidget;

namespace kelmora {

class SurfaceDrag : public QObject {
    Q_OBJECT
public:
    // Watches window's presses; owned by window.
    explicit SurfaceDrag(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_following = false;
    QPoint m_offset;  // from the window's corner to the pointer
};

}  // namespace kelmora
