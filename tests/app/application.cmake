# The program's start: the application object built as main() builds it.
add_executable(test_application ${CMAKE_CURRENT_LIST_DIR}/ApplicationTest.cpp)
target_link_libraries(test_application PRIVATE kelmora_app GTest::gtest)
add_test(NAME test_application COMMAND test_application)
set_tests_properties(test_application PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
