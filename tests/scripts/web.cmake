# The web build (make web) in Debian's headless Chromium against this
# build's executable: every sample replay pixel for pixel, and live key
# presses. Run from the Release tests only; make test builds the web build
# before them. Skipped where node, emscripten or Chromium is missing.
if(NOT VOLTARO_SANITIZE)
  set(VOLTARO_WEB_DIR ${CMAKE_BINARY_DIR}/../web CACHE PATH "The web build that the browser tests load")
  foreach(mode replays keys)
    add_test(NAME web_browser_${mode}
      COMMAND sh ${CMAKE_SOURCE_DIR}/tests/web/run_browser_test.sh ${mode} ${VOLTARO_WEB_DIR}
              $<TARGET_FILE:voltaro> ${CMAKE_SOURCE_DIR}/game ${CMAKE_SOURCE_DIR}/tests/e2e/replays)
    # One Chromium at a time: the page is paced in real time.
    set_tests_properties(web_browser_${mode} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900 RESOURCE_LOCK chromium)
  endforeach()
endif()
