# The mascot area, its frames, the information window and the help links.
kelmora_add_test(test_mascot
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MascotAnimationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MascotPanelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MascotArtTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InfoForm1Test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpLinksTest.cpp
  LIBS kelmora_ui
  QT)
