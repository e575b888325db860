# Painted controls: gradient box, shadow label, shine speed button.
kelmora_add_test(painted_controls_test QT
  SOURCES
    GradBoxTest.cpp
    ShadowLabelTest.cpp
    ShineStateGlyphTest.cpp
    ShineSpeedButtonTest.cpp
  LIBS kelmora_controls)
