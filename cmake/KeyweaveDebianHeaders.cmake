# Header-only libraries from Debian packages ({fmt}, nlohmann JSON, ...).
# Their headers are in /usr/include, which a cross build must not search as a
# whole (the host's C library lives there too): the library's own folder is
# copied alone into the build tree and searched from there, by the native and
# the Windows build alike.
#
#   keyweave_debian_headers(<target> <header> <package>)
#
# makes an INTERFACE target <target> for the folder holding <header> (for
# example fmt/printf.h copies fmt/), and stops with the package to install
# when the header is missing.
function(keyweave_debian_headers target header package)
  string(REGEX REPLACE "/.*" "" folder "${header}")
  find_path(KEYWEAVE_HEADERS_${target} "${header}" PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(NOT KEYWEAVE_HEADERS_${target})
    message(FATAL_ERROR "${header} not found: install ${package} (bash tools/setup.sh)")
  endif()
  set(copy ${CMAKE_BINARY_DIR}/debian_include/${target})
  file(COPY ${KEYWEAVE_HEADERS_${target}}/${folder} DESTINATION ${copy})
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE $<BUILD_INTERFACE:${copy}>)
endfunction()
