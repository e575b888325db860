#pragma once
// The plain panel of the window layouts: a filled rectangle with an optional
// lowered 1-pixel outer bevel and an optional centred caption.

#include <QWidget>

#include "controls/Colors.h"

namespace kelmora {

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TColor Color() const { return m_color; }
    void setColor(TColor color);
    bool BevelLowered() const { return m_bevelLowered; }
    void setBevelLowered(bool lowered);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    // A panel is a window of its own: a press on it is not the form's.
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor m_color = clBtnFace;
    bool m_bevelLowered = false;
    QString m_caption;
};

}  // namespace kelmora
