# Runs "velmora-cli summary 1 2 3 4 5" and compares its output with the expected text.
execute_process(COMMAND ${CLI} summary 1 2 3 4 5
                OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "velmora-cli exited with ${status}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "unexpected output:\n${actual}\nexpected:\n${expected}")
endif()
execute_process(COMMAND ${CLI} summary 1 abc RESULT_VARIABLE bad OUTPUT_QUIET ERROR_QUIET)
if(NOT bad EQUAL 2)
    message(FATAL_ERROR "a bad number must exit with 2, got ${bad}")
endif()
