# Fails when a text of the program has no finished English translation:
# collects the texts of the tree into a copy of translations/kav7_en.ts the
# way scripts/update-translations.sh does, then looks for texts lupdate
# marked unfinished (new, changed or never translated) and for empty
# translations.
# Arguments: SOURCE_DIR, WORK_DIR, LUPDATE.
set(copy ${WORK_DIR}/kav7_en_check.ts)
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${SOURCE_DIR}/translations/kav7_en.ts ${copy})
execute_process(COMMAND ${CMAKE_COMMAND} -E env LUPDATE=${LUPDATE} bash ${SOURCE_DIR}/scripts/update-translations.sh ${copy}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status})")
endif()
file(READ ${copy} ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"[^<]*</translation>"
    unfinished "${ts}")
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation>[ \n]*</translation>" empty "${ts}")
list(LENGTH unfinished unfinished_count)
list(LENGTH empty empty_count)
if(unfinished_count GREATER 0 OR empty_count GREATER 0)
    string(REPLACE ";" "\n" unfinished "${unfinished}")
    string(REPLACE ";" "\n" empty "${empty}")
    message(FATAL_ERROR "${unfinished_count} texts without a finished English translation, "
        "${empty_count} with an empty one (run scripts/update-translations.sh):\n"
        "${unfinished}\n${empty}")
endif()
string(REGEX MATCHALL "<source>" sources "${ts}")
list(LENGTH sources source_count)
message(STATUS "${source_count} texts, all translated")
