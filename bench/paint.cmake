# Paints the main window's gradient boxes, shadow labels and shine buttons to an
# image, per frame. Google Benchmark; runs offscreen. Not a ctest test.
add_executable(bench_paint ${CMAKE_CURRENT_LIST_DIR}/paint.cpp)
target_link_libraries(bench_paint PRIVATE kelmora_ui benchmark::benchmark)
