# The mascot area, the information window and the help links.
target_sources(kelmora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MascotAnimation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MascotPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MascotResources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InfoForm1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpLinks.cpp
)
target_compile_definitions(kelmora_ui PRIVATE
  KELMORA_INFO_BASE_URL="${KELMORA_INFO_BASE_URL}"
  KELMORA_DOC_FROM_PROGRAM="${KELMORA_DOC_FROM_PROGRAM}")
