# The main window: layout, rules, settings, targets, batch and preview.
kelmora_add_test(test_mainform
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DetailDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormLayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormSettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormTargetsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormBatchTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormProgressTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScreenPlacementTest.cpp
  LIBS kelmora_ui
  QT)
target_compile_definitions(test_mainform PRIVATE KELMORA_FAKE_EXTRACTOR_DIR="${KELMORA_FAKE_EXTRACTOR_DIR}")
add_dependencies(test_mainform fake_ffmpeg)
