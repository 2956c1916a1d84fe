# Installs the kit (the keyweave target only) from the suite's tree, checks
# that it holds what a host needs, then builds the kit's example host with
# every recipe of the host guide and runs it:
#   Linux:   find_package (CMAKE_PREFIX_PATH), pkg-config as C, pkg-config as C++;
#   Windows: find_package (a cross toolchain file and Keyweave_DIR), plain
#            mingw-w64 C, plain mingw-w64 C++, pkg-config; each run under Wine.
# The Windows kit's keyweave.lib must name exactly the DLL's exports, and the
# package must hand it out when asked.
#   -DBUILD_DIR -DWORK_DIR -DGENERATOR -DTOOLS -DTOOLCHAIN -DEMULATOR -DCC -DCXX
#   -DEXPORTS -DLLVM_NM -DMSVC_IMPLIB -DMSVC_PACKAGE_DIR
set(prefix ${WORK_DIR}/prefix)
set(example ${prefix}/share/keyweave/examples/host)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Cannot run ${ARGN}:\n${out}\n${err}")
  endif()
endfunction()

# ---- The kit, from the suite's own tree ----
# Building the library target alone must be enough for the install (on
# Windows it also makes keyweave.lib, which the install copies). The tree is
# the one the suite was built in, so the library is not compiled once more;
# the build with the tests and tools left out is the Studio's (tools/studio.sh).
if(TOOLCHAIN)
  file(REMOVE ${MSVC_IMPLIB})
endif()
run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target keyweave -j 2)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(kit include/keyweave/keyweave.h include/keyweave/keyweave_types.h include/keyweave/keyweave_codes.h
    include/keyweave/keyweave_utf8.h lib/cmake/Keyweave/KeyweaveConfig.cmake lib/pkgconfig/keyweave.pc
    share/doc/Keyweave/host-guide.md share/keyweave/gamepads.db share/keyweave/examples/host/host.c
    share/keyweave/examples/host/CMakeLists.txt)
if(TOOLCHAIN)
  list(APPEND kit bin/keyweave.dll lib/libkeyweave.dll.a lib/keyweave.lib)
  if(TOOLS)
    list(APPEND kit bin/keyweave.exe) # the suite's tree built the command too
  endif()
else()
  list(APPEND kit lib/libkeyweave.so lib/libkeyweave.so.0)
endif()
foreach(file IN LISTS kit)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "Cannot find ${file} in the installed kit")
  endif()
endforeach()

# ---- The pkg-config file fits its platform ----
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs keyweave OUTPUT_VARIABLE pc_flags
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Cannot find keyweave with pkg-config")
endif()
file(READ ${prefix}/lib/pkgconfig/keyweave.pc pc_text)
if(TOOLCHAIN AND pc_text MATCHES "rpath|\\.so")
  message(FATAL_ERROR "The Windows keyweave.pc speaks of a Linux library:\n${pc_text}")
endif()
if(NOT TOOLCHAIN AND NOT pc_flags MATCHES "-Wl,-rpath,[^ ]*/lib( |$)")
  message(FATAL_ERROR "The flags of keyweave.pc give no run path to the library: ${pc_flags}")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")

# ---- keyweave.lib names exactly the DLL's exports ----
if(TOOLCHAIN)
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
  run(${CMAKE_COMMAND} -S ${MSVC_PACKAGE_DIR} -B ${WORK_DIR}/msvc-package -DKeyweave_DIR=${prefix}/lib/cmake/Keyweave)
endif()

# ---- The example host, with each recipe ----
# Runs a host in its own folder (it writes its keymap there) and checks that
# the guest was sent the tap, the arrow key's strokes and nothing for the
# mouse's slot; a host compiled as C++ also prints a wild-card path.
function(run_host name program language)
  get_filename_component(folder ${program} DIRECTORY)
  set(command ${program})
  if(TOOLCHAIN)
    file(COPY ${prefix}/bin/keyweave.dll DESTINATION ${folder})
    set(command ${EMULATOR} ${program})
  endif()
  execute_process(COMMAND ${command} WORKING_DIRECTORY ${folder} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "The example host built with ${name} failed (${rc}):\n${out}\n${err}")
  endif()
  set(expected "touch   slot  0 down at 1690,  842\n" "touch   slot  0 up   at 1690,  842\n"
      "key     E0 4D press\n" "key     E0 4D release\n" "touch   slot 13 moved while up: nothing sent\n"
      "mouse   the keymap left the move alone" "log     Finalizing Keyweave\n" "host    done:")
  if(language STREQUAL "C++")
    list(APPEND expected "the wild card of keymaps/com.example.host.lite.cfg is keymaps/com.example.host.cfg\n")
  endif()
  foreach(line IN LISTS expected)
    string(FIND "${out}" "${line}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "The example host built with ${name} did not print \"${line}\":\n${out}")
    endif()
  endforeach()
  message(STATUS "${name}: the example host ran as expected")
endfunction()

set(host_source ${example}/host.c)
set(configure ${CMAKE_COMMAND} -S ${example} -B ${WORK_DIR}/cmake-host -G ${GENERATOR})
if(TOOLCHAIN)
  # A cross toolchain file confines find_package to the target's root: the
  # package's folder is named instead of the prefix.
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DKeyweave_DIR=${prefix}/lib/cmake/Keyweave)
else()
  list(APPEND configure -DCMAKE_PREFIX_PATH=${prefix})
endif()
run(${configure})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-host)
if(TOOLCHAIN)
  run_host("CMake find_package" ${WORK_DIR}/cmake-host/keyweave_example_host.exe C)
  file(MAKE_DIRECTORY ${WORK_DIR}/mingw-c ${WORK_DIR}/mingw-cxx ${WORK_DIR}/pkg-config)
  run(${CC} ${host_source} -I${prefix}/include -L${prefix}/lib -lkeyweave -o ${WORK_DIR}/mingw-c/host.exe)
  run_host("mingw-w64 C" ${WORK_DIR}/mingw-c/host.exe C)
  run(${CXX} -x c++ ${host_source} -I${prefix}/include -L${prefix}/lib -lkeyweave -static-libgcc -static-libstdc++
      -o ${WORK_DIR}/mingw-cxx/host.exe)
  run_host("mingw-w64 C++" ${WORK_DIR}/mingw-cxx/host.exe C++)
  run(${CC} ${host_source} ${pc_flags} -o ${WORK_DIR}/pkg-config/host.exe)
  run_host("pkg-config, mingw-w64 C" ${WORK_DIR}/pkg-config/host.exe C)
else()
  # Every host finds the library through its run path: no LD_LIBRARY_PATH.
  run_host("CMake find_package" ${WORK_DIR}/cmake-host/keyweave_example_host C)
  file(MAKE_DIRECTORY ${WORK_DIR}/pkg-config ${WORK_DIR}/pkg-config-cxx)
  run(${CC} -std=c11 ${host_source} ${pc_flags} -o ${WORK_DIR}/pkg-config/host)
  run_host("pkg-config C" ${WORK_DIR}/pkg-config/host C)
  run(${CXX} -x c++ ${host_source} ${pc_flags} -o ${WORK_DIR}/pkg-config-cxx/host)
  run_host("pkg-config C++" ${WORK_DIR}/pkg-config-cxx/host C++)
endif()
