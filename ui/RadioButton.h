#pragma once
// A radio button whose group is kept by its window, not by Qt: clicking it only
// ever turns it on, and it never turns its siblings off by itself. The window
// listens to toggled(true) and runs the group's rule, so checking it from code
// acts exactly like a click. The checked button of a group is its tab stop.

#include <QRadioButton>

namespace kelmora {

class TRadioButton : public QRadioButton {
    Q_OBJECT
public:
    explicit TRadioButton(QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
};

}  // namespace kelmora
