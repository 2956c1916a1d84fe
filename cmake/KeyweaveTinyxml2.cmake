# tinyxml2 reads PlayCover's keymaps (XML property lists) for the keyweave
# command and the Studio, and the SVG pictures back in the tests. Debian's
# libtinyxml2-dev is a shared library for Linux alone, so every build (Linux,
# Windows, WebAssembly) compiles it as a static library from Debian's source
# archive, pinned by version and checksum. The archive is kept in
# build/downloads; tools/setup.sh fetches it there, and a configure fetches it
# when it is missing:
#   cmake -P cmake/KeyweaveTinyxml2.cmake     fetch only (what setup.sh runs)
#   include(cmake/KeyweaveTinyxml2.cmake)     the target keyweave_tinyxml2
set(KEYWEAVE_TINYXML2_VERSION 9.0.0)
set(KEYWEAVE_TINYXML2_URL
    "http://deb.debian.org/debian/pool/main/t/tinyxml2/tinyxml2_${KEYWEAVE_TINYXML2_VERSION}+dfsg.orig.tar.xz")
set(KEYWEAVE_TINYXML2_SHA256 96510f47a5db537f70dff3e83dd71fd2180cbba4aa76c589a549467e7f34bc9b)
get_filename_component(source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(KEYWEAVE_TINYXML2_ARCHIVE "${source_root}/build/downloads/tinyxml2_${KEYWEAVE_TINYXML2_VERSION}+dfsg.orig.tar.xz")

if(NOT EXISTS "${KEYWEAVE_TINYXML2_ARCHIVE}")
  message(STATUS "Fetching ${KEYWEAVE_TINYXML2_URL}")
  file(DOWNLOAD "${KEYWEAVE_TINYXML2_URL}" "${KEYWEAVE_TINYXML2_ARCHIVE}.part"
       EXPECTED_HASH SHA256=${KEYWEAVE_TINYXML2_SHA256} STATUS fetched)
  list(GET fetched 0 fetch_status)
  if(NOT fetch_status EQUAL 0)
    file(REMOVE "${KEYWEAVE_TINYXML2_ARCHIVE}.part")
    message(FATAL_ERROR "Cannot fetch tinyxml2's source from deb.debian.org (${fetched}): put "
                        "${KEYWEAVE_TINYXML2_URL} into ${KEYWEAVE_TINYXML2_ARCHIVE}")
  endif()
  file(RENAME "${KEYWEAVE_TINYXML2_ARCHIVE}.part" "${KEYWEAVE_TINYXML2_ARCHIVE}")
endif()
file(SHA256 "${KEYWEAVE_TINYXML2_ARCHIVE}" actual_sha256)
if(NOT actual_sha256 STREQUAL KEYWEAVE_TINYXML2_SHA256)
  message(FATAL_ERROR "Cannot use ${KEYWEAVE_TINYXML2_ARCHIVE}: its checksum is not the pinned one; delete it "
                      "and configure again")
endif()
if(CMAKE_SCRIPT_MODE_FILE)
  return()
endif()

set(tinyxml2_dir "${CMAKE_BINARY_DIR}/tinyxml2-${KEYWEAVE_TINYXML2_VERSION}")
if(NOT EXISTS "${tinyxml2_dir}/tinyxml2.cpp")
  file(ARCHIVE_EXTRACT INPUT "${KEYWEAVE_TINYXML2_ARCHIVE}" DESTINATION "${CMAKE_BINARY_DIR}"
       PATTERNS "tinyxml2-${KEYWEAVE_TINYXML2_VERSION}/tinyxml2.*")
endif()
add_library(keyweave_tinyxml2 STATIC "${tinyxml2_dir}/tinyxml2.cpp")
target_include_directories(keyweave_tinyxml2 SYSTEM PUBLIC "${tinyxml2_dir}")
set_target_properties(keyweave_tinyxml2 PROPERTIES POSITION_INDEPENDENT_CODE ON)
