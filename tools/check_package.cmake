# Fails unless `cpack -G DEB` makes a package that installs /usr/bin/msgcode
# and its manual page, and whose msgcode works.
#
#   cmake -DBUILD_DIR=<build dir> -DOUTPUT=<scratch dir> -DCPACK=<cpack> -DDPKG_DEB=<dpkg-deb>
#         -P check_package.cmake

file(REMOVE_RECURSE "${OUTPUT}")
execute_process(COMMAND ${CMAKE_COMMAND} -E chdir "${BUILD_DIR}"
                        "${CPACK}" -G DEB -B "${OUTPUT}" --config "${BUILD_DIR}/CPackConfig.cmake"
                RESULT_VARIABLE packed OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB packages "${OUTPUT}/*.deb")
list(LENGTH packages count)
if(NOT packed EQUAL 0 OR NOT count EQUAL 1 OR log MATCHES "CMake (Warning|Error)")
  message(FATAL_ERROR "cpack -G DEB failed (${packed}), made ${count} packages, or warned:\n${log}")
endif()

execute_process(COMMAND "${DPKG_DEB}" -c ${packages} RESULT_VARIABLE listed OUTPUT_VARIABLE contents)
foreach(file ./usr/bin/msgcode ./usr/share/man/man1/msgcode.1)
  string(REPLACE "." "\\." pattern "${file}")
  if(NOT listed EQUAL 0 OR NOT contents MATCHES " ${pattern}\n")
    message(FATAL_ERROR "${packages} does not install ${file}; dpkg-deb -c shows:\n${contents}")
  endif()
endforeach()

set(unpacked "${OUTPUT}/unpacked")
execute_process(COMMAND "${DPKG_DEB}" -x ${packages} "${unpacked}" RESULT_VARIABLE extracted)
execute_process(COMMAND "${unpacked}/usr/bin/msgcode" 2 RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT extracted EQUAL 0 OR NOT status EQUAL 0 OR NOT output MATCHES "^TP 5\\.5 COMPILER ERROR 2: Identifier expected\r?\n")
  message(FATAL_ERROR "the packaged msgcode 2 gave status ${status} and:\n${output}")
endif()
