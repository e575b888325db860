# The program: the application object and the entry point.
add_executable(kelmora
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
)
target_link_libraries(kelmora PRIVATE kelmora_ui)
target_compile_definitions(kelmora PRIVATE KELMORA_APP_ID="${KELMORA_APP_ID}")
