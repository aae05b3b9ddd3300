# The layer check on the real source tree, and on a small tree with a known
# violation to prove the check notices one.
add_test(NAME layers_respected
  COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${CMAKE_SOURCE_DIR}/src
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/layers/check_layers.cmake)
add_test(NAME layers_violation_reported
  COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${CMAKE_CURRENT_SOURCE_DIR}/scripts/layers/violating_tree
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/layers/check_layers.cmake)
set_tests_properties(layers_violation_reported PROPERTIES
  PASS_REGULAR_EXPRESSION "world/map.h:4: #include \"level/level.h\": world/ must not include the higher layer level/"
  FAIL_REGULAR_EXPRESSION "platform/direction.h|world/fixed.h|level/level.h:3")
add_test(NAME layers_stray_folder_and_surface_free_reported
  COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${CMAKE_CURRENT_SOURCE_DIR}/scripts/layers/violating_tree
          -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/layers/check_layers.cmake)
set_tests_properties(layers_stray_folder_and_surface_free_reported PROPERTIES
  PASS_REGULAR_EXPRESSION "tools/: a folder outside the layer order.*resources/font.cpp:2: freeSurface called outside the video service")
