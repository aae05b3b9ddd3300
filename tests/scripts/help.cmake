# `--help` exits 0 and prints the usage to standard output, for the game and
# every content tool.
foreach(program voltaro voltaro-art voltaro-map voltaro-sfx voltaro-music)
  if(TARGET ${program})
    add_test(NAME help.${program}
      COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:${program}> -P ${CMAKE_CURRENT_LIST_DIR}/help/check_help.cmake)
  endif()
endforeach()
