# Checks that the source tree keeps its layers: every folder of SRC_DIR has a
# rank, and no file includes a header of a higher-ranked folder. Fails with
# one line per offending include, naming the file, its line and the include.
# Also fails when a surface is freed outside the video service and the
# surface handle, so that every surface has exactly one owner that gives it back.
#
# usage: cmake -DSRC_DIR=<dir> -P check_layers.cmake
cmake_minimum_required(VERSION 3.18)
get_filename_component(SRC_DIR "${SRC_DIR}" ABSOLUTE)

if(NOT SRC_DIR)
  message(FATAL_ERROR "usage: cmake -DSRC_DIR=<dir> -P check_layers.cmake")
endif()

# Bottom to top: a folder may include its own headers and those of any folder
# before it in this list.
set(LAYERS platform resources world player level menus check app)
# The only files that may call freeSurface.
set(SURFACE_OWNERS platform/video_service.h platform/video_service.cpp platform/game_engine.h
    platform/game_engine.cpp platform/surface_handle.h platform/surface_handle.cpp)

set(problems "")
file(GLOB folders RELATIVE ${SRC_DIR} ${SRC_DIR}/*)
foreach(folder ${folders})
  if(IS_DIRECTORY ${SRC_DIR}/${folder})
    list(FIND LAYERS ${folder} rank)
    if(rank EQUAL -1)
      string(APPEND problems "${folder}/: a folder outside the layer order (${LAYERS}); give it a place\n")
    endif()
  endif()
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SRC_DIR} ${SRC_DIR}/*.h ${SRC_DIR}/*.cpp)
list(SORT sources)
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder "${source}")
  list(FIND LAYERS ${folder} rank)
  file(STRINGS ${SRC_DIR}/${source} lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
      set(included_folder ${CMAKE_MATCH_1})
      list(FIND LAYERS ${included_folder} included_rank)
      if(included_rank GREATER rank)
        string(STRIP "${line}" include_text)
        string(APPEND problems
          "${source}:${number}: ${include_text}: ${folder}/ must not include the higher layer ${included_folder}/\n")
      endif()
    endif()
    if(line MATCHES "freeSurface[ \t]*\\(" AND NOT source IN_LIST SURFACE_OWNERS)
      string(APPEND problems
        "${source}:${number}: freeSurface called outside the video service; own the surface through a SurfaceHandle\n")
    endif()
  endforeach()
endforeach()

if(problems)
  # NOTICE keeps each problem on one line; FATAL_ERROR would rewrap them.
  message(NOTICE "${problems}")
  message(FATAL_ERROR "layer check failed: ${SRC_DIR}")
endif()
message(STATUS "layer check: ${SRC_DIR} keeps its layers")
