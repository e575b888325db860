# Start-up: process start to the main window's first paint; bench/startup.sh
# runs the program beside a bare Qt window. Not a ctest test.
add_library(bench_first_paint MODULE ${CMAKE_CURRENT_LIST_DIR}/FirstPaint.cpp)
target_link_libraries(bench_first_paint PRIVATE Qt6::Widgets)
add_executable(bench_bare_window ${CMAKE_CURRENT_LIST_DIR}/BareWindow.cpp)
target_link_libraries(bench_bare_window PRIVATE Qt6::Widgets)
