# The mascot area, its frames, the information window and the help links.
kelmora_add_test(mascot_test
  SOURCES MascotAnimationTest.cpp MascotPanelTest.cpp MascotArtTest.cpp InfoForm1Test.cpp HelpLinksTest.cpp
  LIBS kelmora_ui
  QT)
target_include_directories(mascot_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform)
