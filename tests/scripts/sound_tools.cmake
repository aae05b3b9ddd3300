# Script tests of the sound tools voltaro-sfx and voltaro-music: each case
# runs the real tool on small sources written by
# tests/scripts/sound/check_sound_tool.cmake and checks the exit status, the
# message and what was (or was not) written. Also checks game/sound.ini.
if(TARGET voltaro-sfx AND TARGET voltaro-music)
  foreach(kind sfx music)
    foreach(case same_source_same_bytes bad_line_writes_nothing batch_with_one_bad_source_writes_nothing
                 error_keeps_old_output missing_source usage_and_help docs_example)
      add_test(NAME sound_tool.${kind}.${case}
        COMMAND ${CMAKE_COMMAND}
          -DTOOL=$<TARGET_FILE:voltaro-${kind}>
          -DKIND=${kind}
          -DCASE=${case}
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/sound_tool/${kind}/${case}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/sound/check_sound_tool.cmake)
    endforeach()
  endforeach()
endif()

add_test(NAME sound_ini
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
    -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/sound/check_sound_ini.cmake)
