# Installs the build tree into a scratch prefix, builds a C host against it
# with find_package (and, natively, with pkg-config), and runs the host.
#   -DBUILD_DIR -DWORK_DIR -DHOST_SOURCE -DCONSUMER_DIR -DTOOLCHAIN -DEMULATOR -DCC
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

set(configure ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    -DHOST_SOURCE=${HOST_SOURCE})
if(TOOLCHAIN)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DKeyweave_DIR=${prefix}/lib/cmake/Keyweave)
endif()
run(${configure})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)

if(TOOLCHAIN)
  # Windows finds the DLL beside the program.
  file(GLOB dlls ${prefix}/bin/*.dll)
  file(COPY ${dlls} DESTINATION ${WORK_DIR}/consumer)
  run(${EMULATOR} ${WORK_DIR}/consumer/consumer.exe)
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
