# The picture in a real window and on a whole (virtual) screen: the game run
# under Xvfb at scale 1, at scale 3 and fullscreen must show the same game
# pixels, each enlarged by a whole number (tests/app/x11_display_check.cpp).
add_executable(app_x11_display_check ${CMAKE_CURRENT_SOURCE_DIR}/app/x11_display_check.cpp)
target_link_libraries(app_x11_display_check PRIVATE voltaro_app voltaro_test_support GTest::gtest_main)
add_test(NAME display_under_x11
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/scripts/under_xvfb.sh 1280x1024x24 $<TARGET_FILE:app_x11_display_check>)
set_tests_properties(display_under_x11 PROPERTIES TIMEOUT 180 RESOURCE_LOCK xvfb)
