# Fails unless `cmake --install` with DESTDIR puts the executable, the manual
# page and the documents under the prefix, and the installed msgcode works.
#
#   cmake -DBUILD_DIR=<build dir> -DSOURCE_DIR=<source dir> -DSTAGE=<scratch dir>
#         -P check_installation.cmake

set(prefix /usr/local)
set(root "${STAGE}${prefix}")
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE}
                        ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix ${prefix}
                RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${installed})")
endif()

foreach(file bin/msgcode share/man/man1/msgcode.1
             share/doc/msgcode/README.md share/doc/msgcode/LICENSE share/doc/msgcode/messages.md)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "cmake --install with DESTDIR did not give ${prefix}/${file}")
  endif()
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false "${STAGE}/*")
set(outside "")
foreach(path IN LISTS installed)
  string(FIND "${path}" "${root}/" at)
  if(NOT at EQUAL 0)
    list(APPEND outside "${path}")
  endif()
endforeach()
if(outside)
  message(FATAL_ERROR "installed outside ${prefix}: ${outside}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SOURCE_DIR}/man/msgcode.1" "${root}/share/man/man1/msgcode.1"
                RESULT_VARIABLE page_differs)
if(page_differs)
  message(FATAL_ERROR "the installed manual page is not man/msgcode.1")
endif()

execute_process(COMMAND "${root}/bin/msgcode" 151 RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "^TP 5\\.5 COMPILER ERROR 151: Virtual constructors not allowed here\r?\n")
  message(FATAL_ERROR "the installed msgcode 151 gave status ${status} and:\n${output}")
endif()
