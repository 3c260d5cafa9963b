# Fails when the checked-in message reference is not what the generator
# writes from the tables that msgcode is built from.
#
#   cmake -DGENERATOR=<message_reference> -DDOCUMENT=<docs/messages.md>
#         -DFRESH=<scratch file> -DBUILD_DIR=<build dir> -P check_messages_doc.cmake

execute_process(COMMAND "${GENERATOR}" "${FRESH}" RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
  message(FATAL_ERROR "message_reference failed (${generated})")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${DOCUMENT}" "${FRESH}"
                RESULT_VARIABLE differs)
if(differs)
  find_program(DIFF_PROGRAM diff)
  if(DIFF_PROGRAM)
    execute_process(COMMAND "${DIFF_PROGRAM}" -u "${DOCUMENT}" "${FRESH}")
  endif()
  message(FATAL_ERROR
    "${DOCUMENT} is not what the message tables give.\n"
    "Regenerate it, and commit the result, with:\n"
    "  cmake --build \"${BUILD_DIR}\" --target update-messages-doc")
endif()
