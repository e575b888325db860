kelmora_add_test(test_controls_input
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/KmSpinEditTest.cpp
  LIBS kelmora_controls
  QT)
