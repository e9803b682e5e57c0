# Runs "velmora-cli generate" on a saved 6/45 ticket whose conditions no row can meet: no rows,
# the full combination count, and the diagnosis naming the conditions no row passed.
file(REMOVE_RECURSE ${HOME_DIR})
file(MAKE_DIRECTORY ${HOME_DIR})
execute_process(COMMAND ${CLI} --home ${HOME_DIR} generate ${TICKET}
                OUTPUT_VARIABLE actual ERROR_VARIABLE diagnosis RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "velmora-cli generate exited with ${status}")
endif()
if(NOT actual MATCHES "^rows: 0  combinations: 21  ms: [0-9]+\n$")
    message(FATAL_ERROR "unexpected output:\n${actual}")
endif()
foreach(line "Favorizált számok" "Számcsoport páros/páratlan aránya" "Szórás"
             "A fix számok nem vesznek részt a variációban.")
    string(FIND "${diagnosis}" "${line}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the diagnosis lacks \"${line}\":\n${diagnosis}")
    endif()
endforeach()
