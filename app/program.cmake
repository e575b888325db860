# The program: the application object and the entry point.
add_library(kelmora_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
)
target_link_libraries(kelmora_app PUBLIC kelmora_ui)
target_compile_definitions(kelmora_app PRIVATE KELMORA_APP_ID="${KELMORA_APP_ID}")
add_executable(kelmora ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kelmora PRIVATE kelmora_app)
