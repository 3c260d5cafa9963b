# Installation and packages.
#
#   cmake --install build --prefix /usr/local      bin/msgcode, its manual page
#   cd build && cpack                              a .deb on Linux, a .zip on Windows
#
# A Linux package is meant to carry the release executable, the static one
# over musl. Either run cpack in the release build directory itself, or
# name the release executable here from the default build:
#
#   cmake -S . -B build -DMSGCODE_RELEASE_EXECUTABLE=$PWD/build-musl/msgcode
#   cmake --build build && cd build && cpack -G DEB
#
# Without it, this build's own msgcode is installed and packaged.

include(GNUInstallDirs)

set(MSGCODE_RELEASE_EXECUTABLE "" CACHE FILEPATH
    "An msgcode executable built elsewhere, such as build-musl/msgcode, to install and package instead of this build's own")

# On Windows everything lies side by side at the top of the package, as a
# .zip is unpacked and used there; elsewhere in the usual tree of the prefix.
if(WIN32)
  set(MSGCODE_INSTALL_BINDIR .)
  set(MSGCODE_INSTALL_DOCDIR .)
else()
  set(MSGCODE_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(MSGCODE_INSTALL_DOCDIR ${CMAKE_INSTALL_DOCDIR})
endif()

if(MSGCODE_RELEASE_EXECUTABLE)
  install(PROGRAMS ${MSGCODE_RELEASE_EXECUTABLE}
          DESTINATION ${MSGCODE_INSTALL_BINDIR}
          RENAME msgcode${CMAKE_EXECUTABLE_SUFFIX})
else()
  install(TARGETS msgcode RUNTIME DESTINATION ${MSGCODE_INSTALL_BINDIR})
endif()

if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/man/msgcode.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES
          ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE
          ${PROJECT_SOURCE_DIR}/docs/messages.md
        DESTINATION ${MSGCODE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME msgcode)
set(CPACK_PACKAGE_VENDOR "The msgcode authors")
set(CPACK_PACKAGE_CONTACT "The msgcode authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "explain a Turbo Pascal 5.5 or 6.0 error number")
set(CPACK_PACKAGE_DESCRIPTION
    "Given one error number, msgcode prints the message that each of four tables holds for it: the compiler and run-time errors of Turbo Pascal 5.5 and 6.0.")
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

# The executable is static: the package depends on nothing.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)

# `make package_source`: the sources, without the build directories.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/" "/out/")

# The values above reach CPack as they stand, without a second round of
# escapes.
set(CPACK_VERBATIM_VARIABLES TRUE)

include(CPack)
