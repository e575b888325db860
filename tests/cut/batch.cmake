# The target list and the batch without a window.
kelmora_add_test(test_batch
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TargetListTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CutBatchTest.cpp
  LIBS kelmora_cut Qt6::Core)
target_compile_definitions(test_batch PRIVATE KELMORA_FAKE_EXTRACTOR_DIR="${KELMORA_FAKE_EXTRACTOR_DIR}")
add_dependencies(test_batch fake_ffmpeg)
