# Script tests of the voltaro-map tool: a compile / decompile / compile round
# trip, the error and usage exits, and a round trip of every binary map that
# ships with the game (found when CMake configures; none yet is fine).
if(TARGET voltaro-map)
  set(MAP_TOOL_CHECK ${CMAKE_CURRENT_LIST_DIR}/map_tool/check_map_tool.cmake)

  add_test(NAME map_tool_round_trip
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:voltaro-map> -DMODE=round_trip
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/map_tool_round_trip -P ${MAP_TOOL_CHECK})

  add_test(NAME map_tool_errors
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:voltaro-map> -DMODE=errors
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/map_tool_errors -P ${MAP_TOOL_CHECK})

  file(GLOB_RECURSE MAP_TOOL_GAME_MAPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/game/*.map)
  # CMake lists use ';'; hand the paths over with '|' between them.
  string(REPLACE ";" "|" MAP_TOOL_GAME_MAP_LIST "${MAP_TOOL_GAME_MAPS}")
  add_test(NAME map_tool_game_maps
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:voltaro-map> -DMODE=game_maps
            "-DMAPS=${MAP_TOOL_GAME_MAP_LIST}"
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/map_tool_game_maps -P ${MAP_TOOL_CHECK})
endif()

# The real client: Tiled's own converter reads what export writes, and
# import reads what Tiled writes (skipped where Tiled is not installed).
if(TARGET voltaro-map)
  add_test(NAME map_tool_tiled_client
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/map_tool/tiled_client.sh $<TARGET_FILE:voltaro-map>
            ${CMAKE_CURRENT_BINARY_DIR}/map_tool_tiled_client)
  set_tests_properties(map_tool_tiled_client PROPERTIES SKIP_RETURN_CODE 77)

  add_test(NAME map_tool_levels
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:voltaro-map> -DMODE=levels
            -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/map_tool_levels -P ${MAP_TOOL_CHECK})
endif()
