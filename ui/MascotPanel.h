#pragma once
// The mascot area of the main window: a gradient backdrop, a black rounded
// frame and the animated picture, stepped by a 100 ms timer. Releasing a mouse
// button over the frame or the picture asks for the information window.

#include <QImage>
#include <QWidget>

class QTimer;

namespace kelmora {

class TGradBox;

// The 79 mascot frames, kept as one sheet (four frames a row, frame k at
// column k % 4, row k / 4), plus the finish flag the batch sets.
class TMascotImageList {
public:
    // Holds the sheet built into the program. It is decoded when a frame is
    // first asked for, not before: the window shows first, the mascot a step later.
    TMascotImageList() = default;

    // Takes a sheet of four 220 x 296 frames a row; a sheet that is too small
    // for all frames is refused (the list stays empty and draws nothing).
    bool setSheet(const QImage& sheet);
    const QImage& sheet() const;
    int Count() const;
    // The sheet has been decoded (or set).
    bool decoded() const { return m_decoded; }

    // Copies frame index into the image at (x, y), replacing what was there.
    void Draw(QImage& target, int x, int y, int index) const;
    QImage frame(int index) const;

    // The finish flag: set to 1 when a batch has completed, cleared by the
    // animation once the finishing run has played.
    int Tag = 0;

private:
    void decode() const;

    mutable QImage Sheet;
    mutable bool m_decoded = false;
};

// A part of the mascot area that answers a mouse release with the help
// pointer shown; presses stay here, so they never move the window.
class TMascotHotspot : public QWidget {
    Q_OBJECT
public:
    explicit TMascotHotspot(QWidget* parent = nullptr);

signals:
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A shape of the mascot area: a black rounded rectangle with a grey outline.
class TMascotShape : public TMascotHotspot {
    Q_OBJECT
public:
    using TMascotHotspot::TMascotHotspot;

protected:
    void paintEvent(QPaintEvent*) override;
};

// A picture of the mascot area: empty (see-through) until something is drawn
// on its Picture.
class TMascotImage : public TMascotHotspot {
    Q_OBJECT
public:
    using TMascotHotspot::TMascotHotspot;

    // The drawing surface; null until the first frame is drawn.
    QImage Picture;

protected:
    void paintEvent(QPaintEvent*) override;
};

class TMascotPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int FrameIndex MEMBER FrameIndex)
public:
    explicit TMascotPanel(QWidget* parent = nullptr);

    TGradBox* GradBox4;
    TMascotShape* Shape8;
    TMascotImage* Image1;
    QTimer* Timer1;
    TMascotImageList ImageList1;

    // The index of the next frame to draw.
    int FrameIndex = 0;

    // One animation step: draw frame FrameIndex, show it at once, advance.
    void Timer1Timer();

signals:
    // A mouse button was released over Shape8 or Image1.
    void infoRequested();

public slots:
    void Shape8MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    // Presses inside the mascot area stay here: they neither move the window
    // nor reach the main form.
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace kelmora
