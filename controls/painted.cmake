# Painted controls: gradient box, shadow label, shine speed button.
target_sources(kelmora_controls PRIVATE
  Gradient.cpp
  DrawText.cpp
  GradBox.cpp
  ShadowLabel.cpp
  ShineStateGlyph.cpp
  ShineSpeedButton.cpp
)
