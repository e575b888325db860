#pragma once
// The control classes the main window is built from.

#include "controls/GradBox.h"
#include "controls/KmBrowseEdit.h"
#include "controls/KmShapeHint.h"
#include "controls/KmSpinEdit.h"
#include "controls/ShadowLabel.h"
#include "controls/ShineSpeedButton.h"
#include "ui/MascotPanel.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
