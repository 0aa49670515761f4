# The status bar on a private X server managed by openbox, checked in its screenshot.
add_executable(viewer_status_bar_tests status_bar_screenshot_test.cpp qt_test_main.cpp)
target_link_libraries(viewer_status_bar_tests PRIVATE repview_viewer Qt6::Test GTest::gtest)
add_test(NAME viewer.status_bar_screenshot COMMAND ${CMAKE_SOURCE_DIR}/tests/support/with_xvfb.sh --wm $<TARGET_FILE:viewer_status_bar_tests>)
set_tests_properties(viewer.status_bar_screenshot PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
