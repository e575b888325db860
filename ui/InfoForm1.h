#pragma once
// The information window: the program's title picture in a small tool window,
// shown modally when the mascot is clicked. Created hidden; closing hides it.

#include <QDialog>
#include <QMargins>
#include <QPointer>

class QFrame;
class QLabel;

namespace kelmora {

class TInfoForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TInfoForm1(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Image1;

    // Shows the window modally and returns when it is closed. The first time
    // it is centred over mainWindow; later it opens wherever it was left.
    void showModalOver(QWidget* mainWindow);

    // Top-left of the window's frame centred over mainWindow's frame.
    QPoint centredOver(const QWidget* mainWindow) const;

protected:
    bool event(QEvent* event) override;

private:
    // The frame around the window as far as it is known: none until the window
    // system has framed the shown window.
    QMargins frameMargins() const;

    bool Placed = false;
    // While the first showing lasts: the window it is centred over, and the
    // frame that centring assumed. A frame learnt later centres it again.
    QPointer<QWidget> m_centredOver;
    QMargins m_assumedFrame;
};

}  // namespace kelmora
