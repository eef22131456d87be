# Runs PROGRAM with ARGS and fails unless it exits with EXPECTED.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc STREQUAL EXPECTED)
  message(FATAL_ERROR "${PROGRAM} ${ARGS}: exit status ${rc}, expected ${EXPECTED}")
endif()
