# Drives the voltaro-map tool for the map_tool_* tests (cmake -P).
# Kept in a folder of its own: every tests/scripts/*.cmake is include()d by CMake.
#   -DTOOL=path to voltaro-map   -DWORK_DIR=scratch directory   -DMODE=...
#   round_trip  compile a small source, decompile it, compile again; same bytes
#   errors      a bad source exits 1 with FILE:LINE:COLUMN and writes nothing;
#               bad arguments exit 2 with the usage text
#   game_maps   decompile and recompile every map in -DMAPS ('|'-separated)
#   levels      --level/--ini: compile and import write the level's keys into
#               levels.ini; errors exit 1 and change nothing; misused options exit 2
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

elseif(MODE STREQUAL "levels")
  # A 16 x 15 source whose start and enemy characters stand at cells (8, 12) and (3, 6).
  set(row "################\n")
  set(text "tiles 2\nlegend\n# 1 solid\n. 0 open\nS 0 open start\nE 0 open enemy\nmap\n")
  foreach(i RANGE 0 14)
    if(i EQUAL 12)
      string(APPEND text "########S#######\n")
    elseif(i EQUAL 6)
      string(APPEND text "###E############\n")
    else()
      string(APPEND text "${row}")
    endif()
  endforeach()
  file(WRITE ${WORK_DIR}/room.vmap "${text}")
  set(ini "; levels\r\n[Room]\r\ntileMap=room.map\r\nboundaries=1\r\nboundary0x=0\r\nboundary0y=0\r\nboundary0w=256\r\n\r\n[Other]\r\nteleportStopPosY=4\r\n")
  file(WRITE ${WORK_DIR}/levels.ini "${ini}")
  run_tool(0 compile ${WORK_DIR}/room.vmap ${WORK_DIR}/room.map --level Room --ini ${WORK_DIR}/levels.ini)
  # (file(READ) drops carriage returns, so the bytes are compared as files.)
  string(REPLACE "boundary0w=256\r\n" "boundary0w=256\r\nteleportStopPosY=196\r\nenemyX=48\r\nenemyY=104\r\n" expected "${ini}")
  file(WRITE ${WORK_DIR}/expected.ini "${expected}")
  expect_same_bytes(${WORK_DIR}/levels.ini ${WORK_DIR}/expected.ini)
  # Compiling again changes nothing.
  run_tool(0 compile ${WORK_DIR}/room.vmap ${WORK_DIR}/room.map --level Room --ini ${WORK_DIR}/levels.ini)
  expect_same_bytes(${WORK_DIR}/levels.ini ${WORK_DIR}/expected.ini)

  # A start outside the beam's column is an error that writes nothing.
  string(REPLACE "########S#######" "#####S##########" moved "${text}")
  file(WRITE ${WORK_DIR}/moved.vmap "${moved}")
  run_tool(1 compile ${WORK_DIR}/moved.vmap ${WORK_DIR}/moved.map --level Room --ini ${WORK_DIR}/levels.ini)
  expect_contains("${TOOL_STDERR}" "moved.vmap: the start character at column 6 of map row 13: the start is at x 80 (tile column 5)")
  if(EXISTS ${WORK_DIR}/moved.map)
    message(FATAL_ERROR "compile wrote a map despite the error")
  endif()

  # Import: an error names the file and line, and leaves levels.ini alone.
  file(WRITE ${WORK_DIR}/bad.tmx "<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"16\" height=\"15\" tilewidth=\"8\" tileheight=\"8\"/>\n")
  run_tool(1 import ${WORK_DIR}/bad.tmx ${WORK_DIR}/bad.map --level Room --ini ${WORK_DIR}/levels.ini)
  expect_contains("${TOOL_STDERR}" "bad.tmx:2: wrong tile size")
  expect_same_bytes(${WORK_DIR}/levels.ini ${WORK_DIR}/expected.ini)
  if(EXISTS ${WORK_DIR}/bad.map)
    message(FATAL_ERROR "a failed import wrote a map")
  endif()

  file(WRITE ${WORK_DIR}/sheet.bmp "")
  run_tool(1 export ${WORK_DIR}/room.map ${WORK_DIR}/tiled/room.tmx --tileset ${WORK_DIR}/sheet.bmp)
  expect_contains("${TOOL_STDERR}" "sheet.bmp: cannot load the tile sheet")

  run_tool(2 import ${WORK_DIR}/bad.tmx ${WORK_DIR}/bad.map --level Room)
  expect_contains("${TOOL_STDERR}" "--level and --ini go together")
  run_tool(2 export ${WORK_DIR}/room.map ${WORK_DIR}/room.tmx)
  expect_contains("${TOOL_STDERR}" "export needs the tile sheet")
  run_tool(2 decompile ${WORK_DIR}/room.map ${WORK_DIR}/x.vmap --tileset x.bmp)

else()
  message(FATAL_ERROR "unknown MODE '${MODE}'")
endif()
