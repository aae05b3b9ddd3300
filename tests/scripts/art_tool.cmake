# Tests of the pixel-art compiler voltaro-art: each case runs the real tool
# on small sources written by tests/scripts/art/art_tool_check.cmake and
# checks the BMP bytes or the error message.
if(TARGET voltaro-art)
  foreach(case
      header_and_pixels
      rows_are_padded_to_four_bytes
      blocks_stack_downwards
      place_and_mirror
      include_reads_beside_the_including_file
      comments_and_crlf
      docs_example
      batch_writes_every_sheet
      batch_with_one_bad_source_writes_nothing
      unknown_palette_character
      ragged_row
      cell_height
      duplicate_palette_character
      colour_out_of_range
      include_cycle
      missing_include
      sheet_width
      unknown_block
      sheet_beyond_the_engines_bitmap_bound
      empty_sheet
      error_keeps_old_output
      symlink_target_stays_a_link
      png_area_scaled
      png_area_outside_the_sheet
      png_bad_arguments
      help
      usage)
    add_test(NAME art_tool.${case}
      COMMAND ${CMAKE_COMMAND}
        -DTOOL=$<TARGET_FILE:voltaro-art>
        -DCASE=${case}
        -DWORK=${CMAKE_CURRENT_BINARY_DIR}/art_tool/${case}
        -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/art/art_tool_check.cmake)
  endforeach()
endif()
