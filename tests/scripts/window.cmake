# The real executable: a window under Xvfb, SIGTERM, headless runs, the
# command line, replays and the content check.
foreach(mode window sigterm headless replay check)
  add_test(NAME voltaro_executable_${mode}
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/voltaro_executable.sh ${mode} $<TARGET_FILE:voltaro>)
  set_tests_properties(voltaro_executable_${mode} PROPERTIES TIMEOUT 120)
endforeach()
# One X server at a time: xvfb-run -a can race for a display number.
set_tests_properties(voltaro_executable_window voltaro_executable_sigterm PROPERTIES RESOURCE_LOCK xvfb)
