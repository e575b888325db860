# The main window, its parts and what they share.
target_sources(kelmora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MainForm1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainForm1Layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BatchView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DetailDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Notice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Panel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PreviewPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventLoopRunner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProcessEndWatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RadioButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScreenPlacement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SessionTexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SurfaceDrag.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetListHandling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetListModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetListMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowClose.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowSettings.cpp
)
