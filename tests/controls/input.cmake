kelmora_add_test(test_controls_input
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BrowseTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmBrowseEditTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmShapeHintTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KmSpinEditTest.cpp
  LIBS kelmora_controls
  QT)

# The X11 primary selection needs a real X server: this test runs on Xvfb.
add_executable(test_controls_x11 ${CMAKE_CURRENT_LIST_DIR}/KmSpinEditSelectionTest.cpp)
target_link_libraries(test_controls_x11 PRIVATE kelmora_controls kelmora_qt_test_main GTest::gtest)
add_test(NAME test_controls_x11 COMMAND xvfb-run -a $<TARGET_FILE:test_controls_x11>)
set_tests_properties(test_controls_x11 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 600)
