# cmake --install puts the headers, the library, a CMake package
# (find_package(Keyweave) -> Keyweave::keyweave), a pkg-config file, the host
# guide, the example host and the example game-pad database in place, and the
# keyweave command when it was built. The Windows build adds keyweave.lib, the
# import library for MSVC hosts, beside libkeyweave.dll.a. Everything but the
# command is made by the keyweave target or at configure time, so a tree that
# built only that target installs.
include(CMakePackageConfigHelpers)

install(TARGETS keyweave EXPORT KeyweaveTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY include/keyweave DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(FILES docs/host-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES examples/gamepads.db DESTINATION ${CMAKE_INSTALL_DATADIR}/keyweave)
install(FILES examples/host/host.c examples/host/CMakeLists.txt
  DESTINATION ${CMAKE_INSTALL_DATADIR}/keyweave/examples/host)
if(WIN32)
  install(FILES ${KEYWEAVE_MSVC_IMPLIB} DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

set(KEYWEAVE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Keyweave)
install(EXPORT KeyweaveTargets NAMESPACE Keyweave:: DESTINATION ${KEYWEAVE_CMAKE_DIR})
configure_package_config_file(cmake/KeyweaveConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KeyweaveConfig.cmake INSTALL_DESTINATION ${KEYWEAVE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KeyweaveConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KeyweaveConfig.cmake ${PROJECT_BINARY_DIR}/KeyweaveConfigVersion.cmake
  DESTINATION ${KEYWEAVE_CMAKE_DIR})

# The .pc file finds its prefix from its own place, so a relocated install works.
file(RELATIVE_PATH KEYWEAVE_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" KEYWEAVE_PC_TO_PREFIX "${KEYWEAVE_PC_TO_PREFIX}")
if(WIN32)
  # -lkeyweave finds libkeyweave.dll.a; keyweave.dll goes beside the program.
  set(KEYWEAVE_PC_LIBS "-L\${libdir} -lkeyweave")
else()
  # The run path lets a host built with these flags find libkeyweave.so.0 in
  # this prefix when it runs, without LD_LIBRARY_PATH.
  set(KEYWEAVE_PC_LIBS "-L\${libdir} -Wl,-rpath,\${libdir} -lkeyweave")
endif()
configure_file(cmake/keyweave.pc.in ${PROJECT_BINARY_DIR}/keyweave.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/keyweave.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
