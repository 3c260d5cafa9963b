# Fails when the manual page does not render cleanly: any warning of man
# or groff, for a plain ASCII and for a UTF-8 terminal, at three widths.
#
#   cmake -DPAGE=<man/msgcode.1> -DMAN=<man> -DGROFF=<groff> -P check_manual_page.cmake

set(complaints "")

function(render)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE page ERROR_VARIABLE warnings)
  if(NOT result EQUAL 0 OR NOT warnings STREQUAL "" OR page STREQUAL "")
    string(JOIN " " command ${ARGN})
    set(complaints "${complaints}${command}\n  exit status ${result}\n${warnings}\n" PARENT_SCOPE)
  endif()
endfunction()

foreach(locale C C.UTF-8)
  foreach(width 60 80 120)
    if(MAN)
      render(${CMAKE_COMMAND} -E env LC_ALL=${locale} MANWIDTH=${width} ${MAN} --warnings -l ${PAGE})
    endif()
  endforeach()
endforeach()
if(GROFF)
  foreach(device ascii utf8)
    render(${GROFF} -man -ww -T${device} ${PAGE})
  endforeach()
endif()

if(NOT MAN AND NOT GROFF)
  message(FATAL_ERROR "neither man nor groff was given")
endif()
if(NOT complaints STREQUAL "")
  message(FATAL_ERROR "${PAGE} does not render cleanly:\n${complaints}")
endif()
