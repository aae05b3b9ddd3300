# One test case of voltaro-art, run as
#   cmake -DTOOL=... -DCASE=... -DWORK=... -DSOURCE_DIR=... -P art_tool_check.cmake
# Each case writes its sources into WORK (emptied first), runs the tool there
# and checks the BMP bytes or the error message. A failed check stops with
# FATAL_ERROR, which fails the test.
cmake_minimum_required(VERSION 3.18)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Three colours whose bytes are easy to spot in the BMP (stored B, G, R).
set(PALETTE "palette\n. 255 128 255\nr 255 0 0\ng 0 255 0\nb 0 0 255\n")
set(RED "0000ff")
set(GREEN "00ff00")
set(BLUE "ff0000")
set(KEY "ff80ff")

set(CHECK_NAME "${CASE}")
include(${CMAKE_CURRENT_LIST_DIR}/../common/check_helpers.cmake)

# Little-endian unsigned value of `count` bytes at `offset` of a hex dump.
function(number_at hex offset count var)
  set(value 0)
  set(i ${count})
  while(i GREATER 0)
    math(EXPR i "${i} - 1")
    math(EXPR start "(${offset} + ${i}) * 2")
    string(SUBSTRING "${hex}" ${start} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endwhile()
  set(${var} ${value} PARENT_SCOPE)
endfunction()

# Compiles `text` (written to src.art) and returns the BMP as a hex dump.
function(compile_ok text var)
  write(src.art "${text}")
  run_tool(src.art out.bmp)
  if(NOT RC EQUAL 0)
    fail("expected success, got status ${RC}: ${ERR}")
  endif()
  file(READ "${WORK}/out.bmp" hex HEX)
  set(${var} "${hex}" PARENT_SCOPE)
endfunction()

# Checks the header of a 24-bit BMP of the given size.
function(expect_header hex width height)
  string(SUBSTRING "${hex}" 0 4 magic)
  expect_equal("${magic}" "424d" "magic")
  math(EXPR row_bytes "(${width} * 3 + 3) / 4 * 4")
  math(EXPR pixel_bytes "${row_bytes} * ${height}")
  math(EXPR file_bytes "54 + ${pixel_bytes}")
  string(LENGTH "${hex}" digits)
  math(EXPR actual_bytes "${digits} / 2")
  expect_equal("${actual_bytes}" "${file_bytes}" "length of the file")
  number_at("${hex}" 2 4 size)
  expect_equal("${size}" "${file_bytes}" "file size field")
  number_at("${hex}" 10 4 offset)
  expect_equal("${offset}" 54 "pixel data offset")
  number_at("${hex}" 14 4 info)
  expect_equal("${info}" 40 "info header size")
  number_at("${hex}" 18 4 w)
  expect_equal("${w}" "${width}" "width")
  number_at("${hex}" 22 4 h)
  expect_equal("${h}" "${height}" "height")
  number_at("${hex}" 26 2 planes)
  expect_equal("${planes}" 1 "planes")
  number_at("${hex}" 28 2 bits)
  expect_equal("${bits}" 24 "bits per pixel")
  number_at("${hex}" 30 4 compression)
  expect_equal("${compression}" 0 "compression")
  number_at("${hex}" 34 4 image_size)
  expect_equal("${image_size}" "${pixel_bytes}" "image size field")
endfunction()

# The pixel data (everything after the 54-byte header).
function(pixel_data hex var)
  string(SUBSTRING "${hex}" 108 -1 data)
  set(${var} "${data}" PARENT_SCOPE)
endfunction()

# Compiles `text` as src.art (with the tool's options that follow
# `expected`, if any), expects status 1, a message containing `expected`
# and no output file.
function(expect_error text expected)
  set(output out.bmp)
  if("--png" IN_LIST ARGN)
    set(output out.png)
  endif()
  write(src.art "${text}")
  run_tool(${ARGN} src.art ${output})
  expect_equal("${RC}" 1 "exit status")
  string(FIND "${ERR}" "${expected}" found)
  if(found EQUAL -1)
    fail("expected the message '${expected}', got '${ERR}'")
  endif()
  if(EXISTS "${WORK}/${output}")
    fail("${output} was written despite the error")
  endif()
endfunction()

if(CASE STREQUAL "header_and_pixels")
  compile_ok("${PALETTE}pixels\nrgb.\n" hex)
  expect_header("${hex}" 4 1)
  pixel_data("${hex}" data)
  expect_equal("${data}" "${RED}${GREEN}${BLUE}${KEY}" "pixels")

elseif(CASE STREQUAL "rows_are_padded_to_four_bytes")
  compile_ok("${PALETTE}pixels\nr\nb\n" hex)
  expect_header("${hex}" 1 2)
  pixel_data("${hex}" data)
  # Bottom row first, each 3-byte row padded with one zero byte.
  expect_equal("${data}" "${BLUE}00${RED}00" "pixels")

elseif(CASE STREQUAL "blocks_stack_downwards")
  compile_ok("${PALETTE}pixels\nrr\npixels\ngb\n" hex)
  expect_header("${hex}" 2 2)
  pixel_data("${hex}" data)
  expect_equal("${data}" "${GREEN}${BLUE}0000${RED}${RED}0000" "pixels")

elseif(CASE STREQUAL "place_and_mirror")
  # define places nothing; place ... mirror flips one block; mirror flips
  # the whole sheet so far.
  compile_ok("${PALETTE}define two\nrg\nplace two\nplace two mirror\nmirror\n" hex)
  expect_header("${hex}" 2 2)
  pixel_data("${hex}" data)
  # Rows top to bottom: g r, then r g; stored bottom-up.
  expect_equal("${data}" "${RED}${GREEN}0000${GREEN}${RED}0000" "pixels")

elseif(CASE STREQUAL "include_reads_beside_the_including_file")
  write(sub/colours.palette "${PALETTE}")
  write(sub/shared.cells "include colours.palette\npixels\nrg\n")
  compile_ok("include sub/shared.cells\npixels\nbb\n" hex)
  expect_header("${hex}" 2 2)
  pixel_data("${hex}" data)
  expect_equal("${data}" "${BLUE}${BLUE}0000${RED}${GREEN}0000" "pixels")

elseif(CASE STREQUAL "comments_and_crlf")
  compile_ok("; a sheet\r\npalette   ; colours\r\n  r 255 0 0 ; red\r\n\tg 0 255 0\r\n\r\npixels ; one row\r\n    rg   ; indented\r\n" hex)
  expect_header("${hex}" 2 1)
  pixel_data("${hex}" data)
  expect_equal("${data}" "${RED}${GREEN}0000" "pixels")

elseif(CASE STREQUAL "docs_example")
  # The example in the format's documentation must compile as described.
  docs_example(docs/art-format.md "## A small complete example" example)
  compile_ok("${example}" hex)
  expect_header("${hex}" 8 16)

elseif(CASE STREQUAL "batch_writes_every_sheet")
  write(a.art "${PALETTE}pixels\nr\n")
  write(sub/b.art "${PALETTE}pixels\ngg\n")
  file(MAKE_DIRECTORY "${WORK}/out")
  run_tool(--batch out a.art sub/b.art)
  expect_equal("${RC}" 0 "exit status (${ERR})")
  file(READ "${WORK}/out/a.bmp" a HEX)
  expect_header("${a}" 1 1)
  file(READ "${WORK}/out/b.bmp" b HEX)
  expect_header("${b}" 2 1)

elseif(CASE STREQUAL "batch_with_one_bad_source_writes_nothing")
  write(a.art "${PALETTE}pixels\nr\n")
  write(c.art "${PALETTE}pixels\nrz\n")
  file(MAKE_DIRECTORY "${WORK}/out")
  run_tool(--batch out a.art c.art)
  expect_equal("${RC}" 1 "exit status")
  string(FIND "${ERR}" "c.art:7:2: unknown palette character 'z'" found)
  if(found EQUAL -1)
    fail("the message does not name c.art: ${ERR}")
  endif()
  if(EXISTS "${WORK}/out/a.bmp")
    fail("a.bmp was written although c.art has an error")
  endif()

elseif(CASE STREQUAL "unknown_palette_character")
  expect_error("palette\n. 1 2 3\npixels\n..\n.x\n" "src.art:5:2: unknown palette character 'x'")

elseif(CASE STREQUAL "ragged_row")
  expect_error("palette\n. 1 2 3\npixels\n...\n..\n"
    "src.art:5:3: row is 2 pixels wide, but the block's first row (line 4) is 3")

elseif(CASE STREQUAL "cell_height")
  expect_error("palette\n. 1 2 3\ncell 2 2\npixels\n..\npixels\n..\n..\n"
    "src.art:4:1: block has 1 rows, but cells are 2 high (cell at src.art:3)")

elseif(CASE STREQUAL "duplicate_palette_character")
  expect_error("palette\n. 1 2 3\n. 4 5 6\npixels\n.\n"
    "src.art:3:1: palette character '.' is already defined at src.art:2")

elseif(CASE STREQUAL "colour_out_of_range")
  expect_error("palette\n. 1 2 256\npixels\n.\n"
    "src.art:2:7: blue must be a whole number from 0 to 255, not '256'")

elseif(CASE STREQUAL "include_cycle")
  write(a.art "include b.art\n")
  write(b.art "include a.art\n")
  expect_error("include a.art\n" "b.art:1:9: include cycle: 'a.art' is already being read")

elseif(CASE STREQUAL "missing_include")
  expect_error("include nothere.palette\n" "src.art:1:9: cannot open included file 'nothere.palette'")

elseif(CASE STREQUAL "sheet_width")
  expect_error("palette\n. 1 2 3\npixels\n..\npixels\n...\n"
    "src.art:5:1: block is 3 pixels wide, but the sheet is 2 (set by the block at src.art:3)")

elseif(CASE STREQUAL "unknown_block")
  expect_error("palette\n. 1 2 3\npixels\n.\nplace nothing\n"
    "src.art:5:7: no block named 'nothing' was defined before")

elseif(CASE STREQUAL "sheet_beyond_the_engines_bitmap_bound")
  # 1024 rows of 1024 pixels are the most the engine loads; one more is refused.
  string(REPEAT "." 1024 row)
  string(REPEAT "place row\n" 1025 places)
  expect_error("palette\n. 1 2 3\ndefine row\n${row}\n${places}"
    "src.art:1029:7: the sheet grows beyond 1048576 pixels, the largest bitmap the engine loads")

elseif(CASE STREQUAL "empty_sheet")
  expect_error("palette\n. 1 2 3\n" "src.art: nothing is placed on the sheet")

elseif(CASE STREQUAL "error_keeps_old_output")
  write(out.bmp "old")
  write(src.art "palette\n. 1 2 3\npixels\n.x\n")
  run_tool(src.art out.bmp)
  expect_equal("${RC}" 1 "exit status")
  file(READ "${WORK}/out.bmp" kept)
  expect_equal("${kept}" "old" "the earlier output")

elseif(CASE STREQUAL "symlink_target_stays_a_link")
  # The output is normally replaced through a renamed temporary file; a
  # link must not be replaced by a plain file, its target gets the BMP.
  write(real.bmp "old")
  file(CREATE_LINK real.bmp "${WORK}/link.bmp" SYMBOLIC)
  write(src.art "${PALETTE}pixels\nr\n")
  run_tool(src.art link.bmp)
  expect_equal("${RC}" 0 "exit status (${ERR})")
  if(NOT IS_SYMLINK "${WORK}/link.bmp")
    fail("link.bmp is no longer a symbolic link")
  endif()
  file(READ "${WORK}/real.bmp" hex HEX)
  expect_header("${hex}" 1 1)

elseif(CASE STREQUAL "png_area_scaled")
  # Two 2x2 cells; the second, three times larger: a 6x6 8-bit RGBA PNG.
  write(src.art "${PALETTE}cell 2 2\npixels\nrg\nbr\npixels\n.r\ngb\n")
  run_tool(--png --scale 3 --area 0,2,2,2 src.art out.png)
  expect_equal("${RC}" 0 "exit status (${ERR})")
  file(READ "${WORK}/out.png" hex HEX)
  string(SUBSTRING "${hex}" 0 16 signature)
  expect_equal("${signature}" "89504e470d0a1a0a" "PNG signature")
  string(SUBSTRING "${hex}" 24 8 chunk)
  expect_equal("${chunk}" "49484452" "first chunk (IHDR)")
  string(SUBSTRING "${hex}" 32 20 dimensions)
  # width 6, height 6 (big-endian), 8 bits, colour type 6 (RGBA)
  expect_equal("${dimensions}" "00000006000000060806" "IHDR size, depth and colour type")
  run_tool(--png src.art whole.png)
  file(READ "${WORK}/whole.png" hex HEX)
  string(SUBSTRING "${hex}" 32 16 dimensions)
  expect_equal("${dimensions}" "0000000200000004" "the whole sheet by default")

elseif(CASE STREQUAL "png_area_outside_the_sheet")
  expect_error("${PALETTE}pixels\nrg\nbr\n" "src.art: the area 2x2 at (1, 0) is not inside the 2x2 sheet"
    --png --area 1,0,2,2)

elseif(CASE STREQUAL "png_bad_arguments")
  write(src.art "${PALETTE}pixels\nr\n")
  foreach(args "--scale;0" "--scale;17x" "--area;1,2,3" "--area;0,0,0,1" "--area;0,0,1,1,1" "--colour;red")
    run_tool(--png ${args} src.art out.png)
    expect_equal("${RC}" 2 "exit status with ${args}")
  endforeach()
  run_tool(--png src.art)
  expect_equal("${RC}" 2 "exit status without the output")

elseif(CASE STREQUAL "help")
  execute_process(COMMAND "${TOOL}" --help RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  expect_equal("${rc}" 0 "exit status of --help")
  foreach(word "Usage: voltaro-art" "--batch" "--png" "--scale" "--area")
    string(FIND "${out}" "${word}" found)
    if(found EQUAL -1)
      fail("--help does not mention ${word}")
    endif()
  endforeach()

elseif(CASE STREQUAL "usage")
  run_tool()
  expect_equal("${RC}" 2 "exit status without arguments")
  run_tool(only-one.art)
  expect_equal("${RC}" 2 "exit status with one argument")
  string(FIND "${ERR}" "usage:" found)
  if(found EQUAL -1)
    fail("no usage message: ${ERR}")
  endif()
  run_tool(--help)
  expect_equal("${RC}" 0 "exit status of --help")

else()
  fail("unknown case")
endif()
