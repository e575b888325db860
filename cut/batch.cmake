# The batch, the target list and the preview.
target_sources(kelmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CutBatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Preview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TargetSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UriList.cpp
)
