# Helpers shared by the script tests that run a content tool (cmake -P):
# the including script sets TOOL, WORK and CHECK_NAME (how failures are
# labelled). A failed check stops with FATAL_ERROR, which fails the test.

function(fail message)
  message(FATAL_ERROR "${CHECK_NAME}: ${message}")
endfunction()

# Writes a file inside WORK (folders are made as needed).
function(write name text)
  file(WRITE "${WORK}/${name}" "${text}")
endfunction()

# Runs the tool in WORK; sets RC, OUT and ERR in the caller.
function(run_tool)
  execute_process(COMMAND "${TOOL}" ${ARGN}
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(RC "${rc}" PARENT_SCOPE)
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_equal actual expected what)
  if(NOT "${actual}" STREQUAL "${expected}")
    fail("${what}: expected '${expected}', got '${actual}'")
  endif()
endfunction()

function(expect_contains text fragment what)
  string(FIND "${text}" "${fragment}" found)
  if(found EQUAL -1)
    fail("${what}: expected '${fragment}' in '${text}'")
  endif()
endfunction()

# The first fenced block after `heading` in the document `doc` (a path
# under SOURCE_DIR), so that a test can run the example a guide shows.
function(docs_example doc heading var)
  file(READ "${SOURCE_DIR}/${doc}" text)
  string(FIND "${text}" "${heading}" start)
  if(start EQUAL -1)
    fail("${doc} has no section '${heading}'")
  endif()
  string(SUBSTRING "${text}" ${start} -1 text)
  string(FIND "${text}" "```\n" open)
  math(EXPR open "${open} + 4")
  string(SUBSTRING "${text}" ${open} -1 text)
  string(FIND "${text}" "```" close)
  string(SUBSTRING "${text}" 0 ${close} example)
  set(${var} "${example}" PARENT_SCOPE)
endfunction()
