# Walks a folder tree with TSearchFile and prints how many entries it reported
# and how long it took; bench/walk.sh runs it beside find. Not a ctest test.
add_executable(bench_walk ${CMAKE_CURRENT_LIST_DIR}/walk.cpp)
target_link_libraries(bench_walk PRIVATE kelmora_search)
