kelmora_add_test(test_controls_input
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BrowseTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmBrowseEditTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmShapeHintTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmSpinEditTest.cpp
  LIBS kelmora_controls
  QT)
