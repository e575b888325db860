# The main window's registration of a large folder and its batch responsiveness;
# bench/window.sh runs it beside the shell. Not a ctest test.
add_executable(bench_window ${CMAKE_CURRENT_LIST_DIR}/window.cpp)
target_link_libraries(bench_window PRIVATE kelmora_ui)
