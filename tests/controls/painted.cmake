# Painted controls: gradient box, shadow label, shine speed button.
kelmora_add_test(test_controls_painted
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GradBoxTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShadowLabelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShineStateGlyphTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShineSpeedButtonTest.cpp
  LIBS kelmora_controls
  QT)
