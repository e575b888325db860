target_sources(kelmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CutCommand.cpp)
