# One test case of voltaro-sfx or voltaro-music, run as
#   cmake -DTOOL=... -DKIND=sfx|music -DCASE=... -DWORK=... -DSOURCE_DIR=... -P check_sound_tool.cmake
# Each case writes its sources into WORK (emptied first), runs the tool there
# and checks the output or the error message. A failed check stops with
# FATAL_ERROR, which fails the test.
cmake_minimum_required(VERSION 3.18)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

set(CHECK_NAME "${KIND}.${CASE}")
include(${CMAKE_CURRENT_LIST_DIR}/../common/check_helpers.cmake)

# A good source, a source whose third line is bad, that line's message, and
# the output extension, for each tool.
if(KIND STREQUAL "sfx")
  set(EXT wav)
  set(SRC_EXT sfx)
  set(GOOD "wave square 25\nfreq 440\nslide 880\nvibrato 6 20\nlength 120\nattack 5\ndecay 60\n"
           "tone\nwave noise\nfreq 5000\nlength 50\nat 20\n")
  set(BAD "freq 440\nlength 100\nloudness 3\n")
  set(BAD_MESSAGE "src.sfx:3:1: unknown directive 'loudness'")
else()
  set(EXT xm)
  set(SRC_EXT song)
  set(GOOD "channels 2\ninstrument lead\nwave square 25\nenvelope 1 4 40 4\n"
           "sample hat\nwave noise\nfreq 9000\nlength 40\ndecay 30\n"
           "pattern a\nC-4 lead | C-4 hat\nE-4 447 | .\noff | C-4 hat\norder a\n")
  set(BAD "channels 2\ninstrument lead\npattern a\nC-4 lead | D-4 bass\norder a\n")
  set(BAD_MESSAGE "src.song:4:16: no instrument or sample named 'bass' was defined before")
endif()
string(REPLACE ";" "" GOOD "${GOOD}")
set(SRC "src.${SRC_EXT}")

# The file's first bytes, which name its format ("RIFF", "Extended Module: ").
function(expect_format path)
  if(EXT STREQUAL "wav")
    set(magic 52494646)
  else()
    set(magic 457874656e646564204d6f64756c653a20)
  endif()
  string(LENGTH "${magic}" digits)
  math(EXPR bytes "${digits} / 2")
  file(READ "${path}" start LIMIT ${bytes} HEX)
  expect_equal("${start}" "${magic}" "start of ${path}")
endfunction()

if(CASE STREQUAL "same_source_same_bytes")
  # Two separate runs, as a build and a check would do.
  write(${SRC} "${GOOD}")
  run_tool(${SRC} first.${EXT})
  expect_equal("${RC}" 0 "exit status (${ERR})")
  run_tool(${SRC} second.${EXT})
  expect_equal("${RC}" 0 "exit status (${ERR})")
  expect_format("${WORK}/first.${EXT}")
  file(SHA256 "${WORK}/first.${EXT}" first)
  file(SHA256 "${WORK}/second.${EXT}" second)
  expect_equal("${second}" "${first}" "checksum of the second output")

elseif(CASE STREQUAL "bad_line_writes_nothing")
  write(${SRC} "${BAD}")
  run_tool(${SRC} out.${EXT})
  expect_equal("${RC}" 1 "exit status")
  expect_contains("${ERR}" "${BAD_MESSAGE}" "message")
  if(EXISTS "${WORK}/out.${EXT}" OR EXISTS "${WORK}/out.${EXT}.tmp")
    fail("an output was written despite the error")
  endif()

elseif(CASE STREQUAL "batch_with_one_bad_source_writes_nothing")
  write(a.${SRC_EXT} "${GOOD}")
  write(sub/b.${SRC_EXT} "${GOOD}")
  file(MAKE_DIRECTORY "${WORK}/out")
  run_tool(--batch out a.${SRC_EXT} sub/b.${SRC_EXT})
  expect_equal("${RC}" 0 "exit status (${ERR})")
  expect_format("${WORK}/out/a.${EXT}")
  expect_format("${WORK}/out/b.${EXT}")

  file(REMOVE_RECURSE "${WORK}/out")
  file(MAKE_DIRECTORY "${WORK}/out")
  write(c.${SRC_EXT} "${BAD}")
  run_tool(--batch out a.${SRC_EXT} c.${SRC_EXT})
  expect_equal("${RC}" 1 "exit status")
  string(REPLACE "src.${SRC_EXT}" "c.${SRC_EXT}" expected "${BAD_MESSAGE}")
  expect_contains("${ERR}" "${expected}" "message")
  file(GLOB written "${WORK}/out/*")
  if(written)
    fail("written although c.${SRC_EXT} has an error: ${written}")
  endif()

elseif(CASE STREQUAL "error_keeps_old_output")
  write(out.${EXT} "old")
  write(${SRC} "${BAD}")
  run_tool(${SRC} out.${EXT})
  expect_equal("${RC}" 1 "exit status")
  file(READ "${WORK}/out.${EXT}" kept)
  expect_equal("${kept}" "old" "the earlier output")

elseif(CASE STREQUAL "missing_source")
  run_tool(nothere.${SRC_EXT} out.${EXT})
  expect_equal("${RC}" 1 "exit status")
  expect_contains("${ERR}" "nothere.${SRC_EXT}: cannot open the file" "message")

elseif(CASE STREQUAL "usage_and_help")
  run_tool(--help)
  expect_equal("${RC}" 0 "exit status of --help")
  expect_contains("${OUT}" "usage: voltaro-" "--help output")
  expect_contains("${OUT}" "docs/sound.md" "--help output")
  run_tool()
  expect_equal("${RC}" 2 "exit status without arguments")
  expect_contains("${ERR}" "usage:" "message without arguments")
  run_tool(only-one.${SRC_EXT})
  expect_equal("${RC}" 2 "exit status with one argument")
  run_tool(--batch out)
  expect_equal("${RC}" 2 "exit status of a batch without sources")
  run_tool(--frobnicate a b)
  expect_equal("${RC}" 2 "exit status with an unknown option")

elseif(CASE STREQUAL "docs_example")
  # The complete example of each format in docs/sound.md renders.
  if(KIND STREQUAL "sfx")
    docs_example(docs/sound.md "### A complete sound effect" example)
  else()
    docs_example(docs/sound.md "### A complete tune" example)
  endif()
  write(${SRC} "${example}")
  run_tool(${SRC} out.${EXT})
  expect_equal("${RC}" 0 "exit status of the example (${ERR})")
  expect_format("${WORK}/out.${EXT}")

else()
  fail("unknown case")
endif()
