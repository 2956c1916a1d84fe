# Installs the build tree into a scratch prefix, checks that the kit holds
# what a host needs, builds a C host against it with find_package and with a
# plain compiler call (natively through pkg-config), and runs the host.
# The Windows kit's host links through the MSVC import library keyweave.lib
# via the CMake package, and through libkeyweave.dll.a with a plain mingw
# call; keyweave.lib must name every export.
#   -DBUILD_DIR -DWORK_DIR -DHOST_SOURCE -DCONSUMER_DIR -DTOOLCHAIN -DEMULATOR -DCC -DEXPORTS -DLLVM_NM
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Cannot run ${ARGN}:\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(kit include/keyweave/keyweave.h include/keyweave/keyweave_types.h include/keyweave/keyweave_codes.h
    include/keyweave/keyweave_utf8.h lib/cmake/Keyweave/KeyweaveConfig.cmake share/doc/Keyweave/host-guide.md
    share/keyweave/gamepads.db)
if(TOOLCHAIN)
  list(APPEND kit bin/keyweave.dll lib/libkeyweave.dll.a lib/keyweave.lib)
else()
  list(APPEND kit lib/libkeyweave.so lib/pkgconfig/keyweave.pc)
endif()
foreach(file IN LISTS kit)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "Cannot find ${file} in the installed kit")
  endif()
endforeach()

if(TOOLCHAIN)
  # keyweave.lib names exactly the DLL's exports.
  file(STRINGS ${EXPORTS} expected)
  list(APPEND expected "?WildCardConfigPath@@YAPEB_WPEB_W@Z")
  execute_process(COMMAND ${LLVM_NM} ${prefix}/lib/keyweave.lib OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Cannot read the symbols of keyweave.lib")
  endif()
  string(REGEX MATCHALL "__imp_[^\n]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE "^__imp_" "")
  list(SORT expected)
  list(SORT imports)
  if(NOT expected STREQUAL imports)
    message(FATAL_ERROR "keyweave.lib does not name the exports:\n  expected: ${expected}\n  found: ${imports}")
  endif()
endif()

set(configure ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    -DHOST_SOURCE=${HOST_SOURCE})
if(TOOLCHAIN)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DKeyweave_DIR=${prefix}/lib/cmake/Keyweave
       -DKeyweave_USE_MSVC_IMPORT_LIBRARY=ON)
endif()
run(${configure})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)

if(TOOLCHAIN)
  # Windows finds the DLL beside the program.
  file(GLOB dlls ${prefix}/bin/*.dll)
  file(COPY ${dlls} DESTINATION ${WORK_DIR}/consumer)
  run(${EMULATOR} ${WORK_DIR}/consumer/consumer.exe)
  # A plain mingw call, through libkeyweave.dll.a.
  run(${CC} -std=c11 ${HOST_SOURCE} -I${prefix}/include -L${prefix}/lib -lkeyweave -static
      -o ${WORK_DIR}/consumer/plain-host.exe)
  run(${EMULATOR} ${WORK_DIR}/consumer/plain-host.exe)
else()
  # Both hosts find the library through their run path: no LD_LIBRARY_PATH.
  run(${WORK_DIR}/consumer/consumer)
  # The pkg-config file gives the flags for a plain compiler call.
  find_program(PKG_CONFIG pkg-config REQUIRED)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs keyweave OUTPUT_VARIABLE flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Cannot find keyweave with pkg-config")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${CC} -std=c11 ${HOST_SOURCE} ${flags} -o ${WORK_DIR}/pc-host)
  run(${WORK_DIR}/pc-host)
endif()
