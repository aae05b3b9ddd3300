# Drives the voltaro-map tool for the map_tool_* tests (cmake -P).
# Kept in a folder of its own: every tests/scripts/*.cmake is include()d by CMake.
#   -DTOOL=path to voltaro-map   -DWORK_DIR=scratch directory   -DMODE=...
#   round_trip  compile a small source, decompile it, compile again; same bytes
#   errors      a bad source exits 1 with FILE:LINE:COLUMN and writes nothing;
#               bad arguments exit 2 with the usage text
#   game_maps   decompile and recompile every map in -DMAPS ('|'-separated)
cmake_minimum_required(VERSION 3.18)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# Runs the tool; fails the test unless it exits with `expected`.
function(run_tool expected)
  execute_process(COMMAND ${TOOL} ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL expected)
    message(FATAL_ERROR "voltaro-map ${ARGN}: exit ${result}, expected ${expected}\n${out}${err}")
  endif()
  set(TOOL_STDERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_same_bytes first second)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first} ${second} RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${first} and ${second} differ")
  endif()
endfunction()

function(expect_contains text fragment)
  string(FIND "${text}" "${fragment}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected '${fragment}' in:\n${text}")
  endif()
endfunction()

# One 32 x 15 map: a present screen with a ladder and a raw solid byte, and an absent screen.
function(write_small_source path)
  set(row_edge "################~~~~~~~~~~~~~~~~\n")
  set(row_inner "#......H...=...#~~~~~~~~~~~~~~~~\n")
  set(text "; a small test level\ntiles 6 ; sheet of six\nlegend\n. 0 open\n# 1 solid\nH 4 open\n= 2 7\nmap\n${row_edge}")
  foreach(i RANGE 1 13)
    string(APPEND text "${row_inner}")
  endforeach()
  string(APPEND text "${row_edge}")
  file(WRITE ${path} "${text}")
endfunction()

if(MODE STREQUAL "round_trip")
  write_small_source(${WORK_DIR}/small.vmap)
  run_tool(0 compile ${WORK_DIR}/small.vmap ${WORK_DIR}/small.map)
  file(READ ${WORK_DIR}/small.map head LIMIT 5 HEX)
  if(NOT head STREQUAL "200f070201")  # W 32, H 15, N 7, then tile 1 solid
    message(FATAL_ERROR "unexpected start of small.map: ${head}")
  endif()
  file(SIZE ${WORK_DIR}/small.map size)
  if(NOT size EQUAL 963)  # 3 + 15 rows x 2 chunks x 32
    message(FATAL_ERROR "small.map is ${size} bytes, expected 963")
  endif()
  run_tool(0 decompile ${WORK_DIR}/small.map ${WORK_DIR}/again.vmap)
  run_tool(0 compile ${WORK_DIR}/again.vmap ${WORK_DIR}/again.map)
  expect_same_bytes(${WORK_DIR}/small.map ${WORK_DIR}/again.map)
  if(EXISTS ${WORK_DIR}/small.map.tmp OR EXISTS ${WORK_DIR}/again.map.tmp)
    message(FATAL_ERROR "a temporary file was left behind")
  endif()

elseif(MODE STREQUAL "errors")
  file(WRITE ${WORK_DIR}/bad.vmap "tiles 6\nlegend\n. 0 open\nmap\n.....?..........\n")
  run_tool(1 compile ${WORK_DIR}/bad.vmap ${WORK_DIR}/bad.map)
  expect_contains("${TOOL_STDERR}" "bad.vmap:5:6: unknown legend character '?'")
  if(EXISTS ${WORK_DIR}/bad.map OR EXISTS ${WORK_DIR}/bad.map.tmp)
    message(FATAL_ERROR "compile wrote output for a source with an error")
  endif()

  # An error leaves an existing output untouched.
  file(WRITE ${WORK_DIR}/kept.map "old")
  run_tool(1 compile ${WORK_DIR}/bad.vmap ${WORK_DIR}/kept.map)
  file(READ ${WORK_DIR}/kept.map kept)
  if(NOT kept STREQUAL "old")
    message(FATAL_ERROR "a failed compile changed an existing output")
  endif()

  file(WRITE ${WORK_DIR}/short.map "AB")
  run_tool(1 decompile ${WORK_DIR}/short.map ${WORK_DIR}/short.vmap)
  expect_contains("${TOOL_STDERR}" "short.map: the file ends at byte offset 2")
  run_tool(1 compile ${WORK_DIR}/missing.vmap ${WORK_DIR}/missing.map)
  expect_contains("${TOOL_STDERR}" "missing.vmap")

  run_tool(2)
  expect_contains("${TOOL_STDERR}" "usage: voltaro-map compile SRC OUT")
  run_tool(2 build ${WORK_DIR}/bad.vmap ${WORK_DIR}/bad.map)
  run_tool(2 compile ${WORK_DIR}/bad.vmap)

elseif(MODE STREQUAL "game_maps")
  string(REPLACE "|" ";" maps "${MAPS}")
  set(count 0)
  foreach(map IN LISTS maps)
    get_filename_component(name ${map} NAME_WE)
    set(copy ${WORK_DIR}/${count}-${name})  # maps in different folders may share a name
    run_tool(0 decompile ${map} ${copy}.vmap)
    run_tool(0 compile ${copy}.vmap ${copy}.map)
    expect_same_bytes(${map} ${copy}.map)
    math(EXPR count "${count} + 1")
  endforeach()
  message(STATUS "${count} game map(s) round-trip")

else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()
