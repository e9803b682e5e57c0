# The usage comes from the command table: every command is listed, each explains itself, and a
# command line that does not fit the table exits with 2 and writes nothing.
function(expect_status expected)
    execute_process(COMMAND ${CLI} ${ARGN} OUTPUT_VARIABLE output ERROR_VARIABLE errors
                    RESULT_VARIABLE status)
    if(NOT status EQUAL ${expected})
        message(FATAL_ERROR "velmora-cli ${ARGN} exited with ${status}, not ${expected}")
    endif()
    set(output "${output}" PARENT_SCOPE)
    set(errors "${errors}" PARENT_SCOPE)
endfunction()

expect_status(0 --help)
foreach(command "summary N1" "draws import GAME" "check TICKET" "generate TICKET" "test VAR"
                "import FILE" "export VAR" "ticket --game")
    string(FIND "${output}" "[--yes] ${command}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "--help does not list \"${command}\":\n${output}")
    endif()
endforeach()
expect_status(0 test --help)
if(NOT output MATCHES "--drawn D +how many of the variation numbers are drawn")
    message(FATAL_ERROR "test --help does not explain --drawn:\n${output}")
endif()

file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR})
expect_status(2 bogus)
expect_status(2 test ${TICKET})                                 # --drawn is needed
expect_status(2 generate ${TICKET} --frobnicate)
expect_status(2 draws import 99 ${HOME_DIR}/otos.csv)
expect_status(2 --home)
# An export format the program does not write is refused before anything is written.
expect_status(1 --home ${HOME_DIR} generate ${TICKET} --export ${HOME_DIR}/v.doc)
if(EXISTS ${HOME_DIR}/v.doc)
    message(FATAL_ERROR "a refused export left a file behind")
endif()
