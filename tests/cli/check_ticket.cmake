# Runs "velmora-cli check" on a saved 6/45 number row and compares its output with the expected
# text; a missing file must fail.
file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR})
execute_process(COMMAND ${CLI} --home ${HOME_DIR} check ${TICKET}
                OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "velmora-cli check exited with ${status}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "unexpected output:\n${actual}\nexpected:\n${expected}")
endif()
execute_process(COMMAND ${CLI} --home ${HOME_DIR} check ${HOME_DIR}/missing.tip
                RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
if(NOT missing EQUAL 1)
    message(FATAL_ERROR "a missing file must exit with 1, got ${missing}")
endif()
