# Runs PROGRAM with ARGS and fails unless it exits with EXPECTED and, when
# given, says SAYS on stdout or stderr. No message may show a text's number.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT rc STREQUAL EXPECTED)
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: exit status ${rc}, expected ${EXPECTED}\n${err}")
endif()
if(DEFINED SAYS AND NOT SAYS STREQUAL "")
  string(FIND "${out}${err}" "${SAYS}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} ${ARGS}: does not say \"${SAYS}\":\n${out}${err}")
  endif()
endif()
if(err MATCHES "\\[9[0-9][0-9][0-9]\\]")
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: a text number in a message:\n${err}")
endif()
