# One golden run of the keyweave program:
#   cmake -DTOOL=<program> [-DEMULATOR=<wine>] -DROOT=<source folder>
#         -DGOLDEN=<file> -DARGS="arg|arg|..." [-DUPDATE=ON] -P run_golden.cmake
# Runs the program in ROOT (so paths in its messages are the relative ones
# given here, on every platform) and compares what it printed with GOLDEN:
# stdout, then "--- stderr" and stderr when there is any, then "--- exit N".
# With -DKEYMAP=<file>, stdout is compared with that file instead (a keymap
# that other runs then use) and GOLDEN holds the rest. With UPDATE=ON the
# golden files are rewritten instead (review them before committing them).
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(
  COMMAND ${EMULATOR} ${TOOL} ${arguments}
  WORKING_DIRECTORY ${ROOT}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
set(actual "${out}")
if(KEYMAP)
  set(actual "")
endif()
if(NOT err STREQUAL "")
  string(APPEND actual "--- stderr\n${err}")
endif()
string(APPEND actual "--- exit ${status}\n")

if(UPDATE)
  file(WRITE ${GOLDEN} "${actual}")
  if(KEYMAP)
    file(WRITE ${KEYMAP} "${out}")
  endif()
  return()
endif()
if(KEYMAP)
  get_filename_component(keymap_name ${KEYMAP} NAME)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${keymap_name}.actual "${out}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${KEYMAP} ${CMAKE_CURRENT_BINARY_DIR}/${keymap_name}.actual
                  RESULT_VARIABLE keymap_differs)
  if(keymap_differs)
    execute_process(COMMAND diff -u ${KEYMAP} ${CMAKE_CURRENT_BINARY_DIR}/${keymap_name}.actual OUTPUT_VARIABLE diff)
    message(FATAL_ERROR "keyweave ${ARGS}: output differs from ${KEYMAP}\n${diff}")
  endif()
endif()
get_filename_component(name ${GOLDEN} NAME)
set(actual_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
file(WRITE ${actual_file} "${actual}")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GOLDEN} ${actual_file} RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${GOLDEN} ${actual_file} OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "keyweave ${ARGS}: output differs from ${GOLDEN}\n${diff}")
endif()
