# The installation, moved to another prefix, and the Debian package, as a
# user gets them (tests/scripts/install_test.sh). Release builds only.
if(NOT VOLTARO_SANITIZE)
  string(REPLACE ";" " " installed_tools "${VOLTARO_TOOLS}")
  foreach(mode install package)
    add_test(NAME installed_${mode}
      COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${mode} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
              "${installed_tools}")
    set_tests_properties(installed_${mode} PROPERTIES TIMEOUT 300)
  endforeach()
endif()
