#include "ui/RadioButton.h"

namespace kelmora {

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent)
{
    setAutoExclusive(false);
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this,
            [this](bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); });
}

void TRadioButton::nextCheckState()
{
    // A click on a checked button changes nothing.
    if (!isChecked()) setChecked(true);
}

}  // namespace kelmora
