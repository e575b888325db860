kelmora_add_test(test_cut_command
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CutCommandTest.cpp ${CMAKE_CURRENT_LIST_DIR}/UriListTest.cpp
  LIBS kelmora_cut)

# Runs the built command lines through the real extractor on tiny generated clips.
kelmora_add_test(test_cut_extractor
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CutExtractorTest.cpp
  LIBS kelmora_cut)
