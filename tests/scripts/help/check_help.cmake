# Runs `TOOL --help` (cmake -P): it must exit 0 and print its usage on
# standard output, with nothing on standard error.
cmake_minimum_required(VERSION 3.18)
execute_process(COMMAND ${TOOL} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TOOL} --help exited ${rc}\n${out}${err}")
endif()
string(TOLOWER "${out}" lower)
string(FIND "${lower}" "usage:" at)
if(at EQUAL -1 OR NOT err STREQUAL "")
  message(FATAL_ERROR "${TOOL} --help: expected the usage on stdout only\nstdout: ${out}\nstderr: ${err}")
endif()
