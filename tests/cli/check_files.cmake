# Imports rows from a csv file into a variation file, exports it again as text, and makes the
# full variation of the imported ticket: the files the command-line tool writes and reads.
file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR})
file(WRITE ${HOME_DIR}/rows.csv "1;2;3;4;5\r\n6;7;8;9;10\r\n11;12;13;14;15\r\n")

function(run expected_output)
    execute_process(COMMAND ${CLI} --home ${HOME_DIR} --yes ${ARGN}
                    OUTPUT_VARIABLE output ERROR_QUIET RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "velmora-cli ${ARGN} exited with ${status}")
    endif()
    if(NOT output MATCHES "${expected_output}")
        message(FATAL_ERROR "velmora-cli ${ARGN} printed:\n${output}")
    endif()
endfunction()

run("^rows: 3  numbers: 15\n$" import ${HOME_DIR}/rows.csv --game 0 --out ${HOME_DIR}/v.top)
run("^rows: 3\n$" export ${HOME_DIR}/v.top ${HOME_DIR}/v.txt)
# Compared as hex: the lines end in CR LF.
file(READ ${HOME_DIR}/v.txt text HEX)
string(HEX " 1 -  2 -  3 -  4 -  5\r\n 6 -  7 -  8 -  9 - 10\r\n11 - 12 - 13 - 14 - 15\r\n" expected)
if(NOT text STREQUAL expected)
    message(FATAL_ERROR "unexpected export: ${text}")
endif()
# The imported variation is made again from its fifteen numbers: all C(15, 5) rows.
run("rows: 3003  combinations: 3003  ms: [0-9]+\n$" generate ${HOME_DIR}/v.top
    --out ${HOME_DIR}/g.top --export ${HOME_DIR}/g.tmb)
file(READ ${HOME_DIR}/g.tmb tmb)
if(NOT tmb MATCHES "^Array\\(1,2,3,4,5,1,2,3,4,6,.*,11,12,13,14,15\\);\n$")
    message(FATAL_ERROR "unexpected tmb export")
endif()
run("^rows: 3003\n$" export ${HOME_DIR}/g.top ${HOME_DIR}/g.csv)
# The full variation hits all five in every one of its 3 003 cases; nothing is missing.
run("  5 +3 003 db 100,00%\r?\n  4 +0 db +0%.* Lista vége\n$" test ${HOME_DIR}/g.top --drawn 5
    --no-conditions --threads 2)
