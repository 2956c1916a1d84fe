# One golden run of the keyweave program:
#   cmake -DTOOL=<program> [-DEMULATOR=<wine>] -DROOT=<source folder>
#         -DGOLDEN=<file> -DARGS="arg|arg|..." [-DUPDATE=ON] -P run_golden.cmake
# Runs the program in ROOT (so paths in its messages are the relative ones
# given here, on every platform) and compares what it printed with GOLDEN:
# stdout, then "--- stderr" and stderr when there is any, then "--- exit N".
# With UPDATE=ON the golden file is rewritten instead (review it before
# committing it).
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(
  COMMAND ${EMULATOR} ${TOOL} ${arguments}
  WORKING_DIRECTORY ${ROOT}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
set(actual "${out}")
if(NOT err STREQUAL "")
  string(APPEND actual "--- stderr\n${err}")
endif()
string(APPEND actual "--- exit ${status}\n")

if(UPDATE)
  file(WRITE ${GOLDEN} "${actual}")
  return()
endif()
get_filename_component(name ${GOLDEN} NAME)
set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
file(WRITE ${actual_file} "${actual}")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GOLDEN} ${actual_file} RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${GOLDEN} ${actual_file} OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "keyweave ${ARGS}: output differs from ${GOLDEN}\n${diff}")
endif()
