# Installs the build into a scratch root as the package does (prefix /usr, DESTDIR) and checks
# the tree: every file and nothing else, the desktop entry, the MIME types, the icons and the
# manual page; then runs the installed velmora-cli in each layout to see where its files go.
# Takes BUILD_DIR, SOURCE_DIR and STAGE (a scratch folder, emptied first).
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(root ${STAGE}/root)
set(usr ${root}/usr)

function(run)
    cmake_parse_arguments(RUN "" "OUTPUT;ERROR" "COMMAND" ${ARGN})
    execute_process(COMMAND ${RUN_COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        list(JOIN RUN_COMMAND " " line)
        message(FATAL_ERROR "${line}\nexited with ${status}:\n${out}${err}")
    endif()
    if(RUN_OUTPUT)
        set(${RUN_OUTPUT} "${out}" PARENT_SCOPE)
    endif()
    if(RUN_ERROR)
        set(${RUN_ERROR} "${err}" PARENT_SCOPE)
    endif()
endfunction()

function(installed_files result)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${usr} ${usr}/*)
    list(SORT files)
    set(${result} "${files}" PARENT_SCOPE)
endfunction()

run(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)

# Every file, and nothing more (no test or generator executable).
set(expected
    bin/velmora
    bin/velmora-cli
    share/applications/velmora.desktop
    share/icons/hicolor/scalable/apps/velmora.svg
    share/man/man1/velmora-cli.1.gz
    share/mime/packages/velmora.xml
    share/velmora/draws/hatos.csv
    share/velmora/draws/keno.csv
    share/velmora/draws/otos.csv
    share/velmora/draws/skandi.csv)
set(sizes 16 22 24 32 48 64 128 256)
foreach(size IN LISTS sizes)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/velmora.png)
endforeach()
if(EXISTS ${SOURCE_DIR}/help)
    file(GLOB_RECURSE help LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR}/help ${SOURCE_DIR}/help/*)
    list(TRANSFORM help PREPEND share/velmora/help/)
    list(APPEND expected ${help})
endif()
list(SORT expected)
installed_files(files)
if(NOT files STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${files})
    set(extra ${files})
    list(REMOVE_ITEM extra ${expected})
    message(FATAL_ERROR "install tree differs\nmissing: ${missing}\nnot expected: ${extra}")
endif()
foreach(program velmora velmora-cli)
    run(COMMAND test -x ${usr}/bin/${program})
endforeach()

# The desktop entry: valid, silent, and naming what the tree holds.
set(desktop ${usr}/share/applications/velmora.desktop)
run(COMMAND desktop-file-validate ${desktop} OUTPUT out ERROR err)
if(NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate:\n${out}${err}")
endif()
file(STRINGS ${desktop} exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=velmora %f")
    message(FATAL_ERROR "the desktop entry starts ${exec}, not the program with a file")
endif()
file(STRINGS ${desktop} icon REGEX "^Icon=")
if(NOT icon STREQUAL "Icon=velmora")
    message(FATAL_ERROR "the desktop entry's icon is ${icon}")
endif()

# The MIME types: well-formed, read by the desktop's own tool without complaint, one for each
# kind of file the program opens, and the same types as the desktop entry opens.
set(mime ${usr}/share/mime/packages/velmora.xml)
run(COMMAND xmllint --noout ${mime})
file(MAKE_DIRECTORY ${STAGE}/mime/packages)
file(COPY ${mime} DESTINATION ${STAGE}/mime/packages)
run(COMMAND update-mime-database ${STAGE}/mime OUTPUT out ERROR err)
if("${out}${err}" MATCHES "Error|Failed|[Ww]arning")
    message(FATAL_ERROR "update-mime-database:\n${out}${err}")
endif()
file(STRINGS ${STAGE}/mime/globs2 globs REGEX "^[0-9]+:")
list(TRANSFORM globs REPLACE "^[0-9]+:" "")
list(SORT globs)
set(expected_globs "application/x-velmora-number-row:*.tip;application/x-velmora-variation:*.top")
if(NOT globs STREQUAL expected_globs)
    message(FATAL_ERROR "MIME globs: ${globs}")
endif()
file(READ ${desktop} entry)
string(REGEX MATCH "\nMimeType=([^\n]*);\n" line "${entry}")
set(mime_types "${CMAKE_MATCH_1}")
list(SORT mime_types)
set(types ${globs})
list(TRANSFORM types REPLACE ":.*" "")
if(NOT mime_types STREQUAL types)
    message(FATAL_ERROR "the desktop entry opens ${mime_types}; the MIME file declares ${types}")
endif()
foreach(type IN LISTS types)
    file(READ ${STAGE}/mime/${type}.xml described)
    if(NOT described MATCHES "<comment>[^<]+</comment>" OR
       NOT described MATCHES "<comment xml:lang=\"hu\">[^<]+</comment>")
        message(FATAL_ERROR "${type} lacks its English or Hungarian comment")
    endif()
endforeach()

# The icons: PNG pictures of their folder's size.
foreach(size IN LISTS sizes)
    run(COMMAND file -b ${usr}/share/icons/hicolor/${size}x${size}/apps/velmora.png OUTPUT kind)
    if(NOT kind MATCHES "^PNG image data, ${size} x ${size},")
        message(FATAL_ERROR "${size}x${size} icon: ${kind}")
    endif()
endforeach()

# The manual page: compressed whole, and read by groff without a warning.
set(man ${usr}/share/man/man1/velmora-cli.1.gz)
run(COMMAND gzip -t ${man})
execute_process(COMMAND gzip -dc ${man} OUTPUT_FILE ${STAGE}/velmora-cli.1)
run(COMMAND groff -k -man -Tutf8 -ww -z ${STAGE}/velmora-cli.1 OUTPUT out ERROR err)
if(NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "groff on the manual page:\n${out}${err}")
endif()

# Where the installed command-line tool keeps its files: the user's data folder, VELMORA_HOME
# instead, and --home before both; copied out of the prefix it is a portable program again. The
# database is built from the results file the tree ships.
set(results ${usr}/share/velmora/draws/otos.csv)
set(user_data "${STAGE}/data/Velmora Personal")
function(import_draws where)
    run(COMMAND ${CMAKE_COMMAND} -E env --unset=VELMORA_HOME HOME=${STAGE}/home
                XDG_DATA_HOME=${STAGE}/data ${ARGN} draws import 0 ${results})
    if(NOT EXISTS "${where}/Dat/Huzas5.ldb")
        message(FATAL_ERROR "velmora-cli ${ARGN} did not build ${where}/Dat/Huzas5.ldb")
    endif()
    file(REMOVE_RECURSE "${where}")
endfunction()
import_draws("${user_data}" ${usr}/bin/velmora-cli)
import_draws(${STAGE}/env-home VELMORA_HOME=${STAGE}/env-home ${usr}/bin/velmora-cli)
import_draws(${STAGE}/arg-home VELMORA_HOME=${STAGE}/env-home ${usr}/bin/velmora-cli
             --home ${STAGE}/arg-home)
file(COPY ${usr}/bin/velmora-cli DESTINATION ${STAGE}/portable)
import_draws(${STAGE}/portable ${STAGE}/portable/velmora-cli)
if(EXISTS ${STAGE}/env-home OR EXISTS ${STAGE}/home)
    message(FATAL_ERROR "a layout wrote where it should not")
endif()
installed_files(after)
if(NOT after STREQUAL files)
    message(FATAL_ERROR "the programs wrote under their prefix")
endif()
file(REMOVE_RECURSE ${STAGE})
