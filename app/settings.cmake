target_sources(kelmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsLocation.cpp
)
