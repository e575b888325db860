# The mascot area, its frames, the information window and the help links.
kelmora_add_test(mascot_test
  SOURCES MascotAnimationTest.cpp MascotPanelTest.cpp MascotArtTest.cpp InfoForm1Test.cpp HelpLinksTest.cpp
  LIBS kelmora_ui
  QT)
