# Every reason that the --explain runs show stays shown: plays the four
# explain scripts with --explain --json and fails naming each reason that no
# decision gives any more, whatever the golden files were rewritten to.
#   cmake -DTOOL=<program> [-DEMULATOR=<wine>] -DROOT=<source folder> -P explain_reasons.cmake
set(reasons played passed-raw no-rule raw-forwarding-off mapping-off repeat held-back combined
    too-late-to-combine no-free-slot yielded-to-tap-swipe shooting-mode button-taken not-used duplicate-move
    typed no-character sensor keymap-loaded nothing-on-this-event gesture gesture-off gesture-out-of-order
    refused-value default-keymap)
set(runs "tests/timelines/explain.cfg|tests/timelines/explain.play"
         "tests/timelines/explain_combination.cfg|tests/timelines/explain_combination.play"
         "tests/timelines/no_free_slot.cfg|tests/timelines/explain_slots.play"
         "tests/timelines/explain.cfg|tests/timelines/explain_gestures.play")
set(all "")
foreach(run IN LISTS runs)
  string(REPLACE "|" ";" files "${run}")
  execute_process(COMMAND ${EMULATOR} ${TOOL} play ${files} --explain --json
                  WORKING_DIRECTORY ${ROOT} OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "keyweave play ${files} --explain --json: exit ${status}")
  endif()
  string(APPEND all "${out}")
endforeach()
set(missing "")
foreach(reason IN LISTS reasons)
  string(FIND "${all}" "\"event\":\"why\",\"reason\":\"${reason}\"" at)
  if(at EQUAL -1)
    list(APPEND missing ${reason})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "no decision of the explain runs gives: ${missing}")
endif()
