# One warning list for every target, errors included; sanitizers when asked.
add_library(keyweave_options INTERFACE)
target_compile_options(keyweave_options INTERFACE -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # The locks' annotations (platform/thread_annotations.h): a member read
  # without its lock, a lock missing where a function needs it, or two locks
  # taken against their declared order (the beta group checks that) fails
  # the build.
  target_compile_options(keyweave_options INTERFACE -Wthread-safety -Wthread-safety-beta)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 at -O3 reports impossible overlaps inside std::string's own
  # concatenation (a known false positive of -Wrestrict in that release).
  target_compile_options(keyweave_options INTERFACE -Wno-restrict)
endif()
if(KEYWEAVE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KEYWEAVE_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  if(NOT KEYWEAVE_SANITIZE)
    set(KEYWEAVE_SANITIZE address,undefined)
  endif()
  # Coverage feedback in every target; the fuzz programs link libFuzzer itself.
  target_compile_options(keyweave_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
if(KEYWEAVE_SANITIZE)
  target_compile_options(keyweave_options INTERFACE -fsanitize=${KEYWEAVE_SANITIZE} -fno-omit-frame-pointer
                         -fno-sanitize-recover=all)
  target_link_options(keyweave_options INTERFACE -fsanitize=${KEYWEAVE_SANITIZE})
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND KEYWEAVE_SANITIZE MATCHES "undefined")
    # The C hosts of the tests link the C++ library, whose checks of dynamic
    # types call UBSan's C++ runtime: clang gives a C program the C runtime
    # alone unless asked for the C++ part, which needs libstdc++.
    target_link_options(keyweave_options INTERFACE $<$<LINK_LANGUAGE:C>:-fsanitize-link-c++-runtime -lstdc++>)
  endif()
endif()
if(WIN32)
  # The DLL and the test programs need nothing but system DLLs.
  target_link_options(keyweave_options INTERFACE -static)
endif()
