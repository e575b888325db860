# Painted controls: gradient box, shadow label, shine speed button.
target_sources(kelmora_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Gradient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DrawText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GradBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShadowLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShineStateGlyph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShineSpeedButton.cpp
)
