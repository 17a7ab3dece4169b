# Checks that every C++ file of the tree is as clang-format (.clang-format)
# writes it; run as a test:
#   cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... -P CheckFormat.cmake
# Lists each file that differs; `clang-format -i FILE` mends it.
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
list(FILTER files EXCLUDE REGEX "^(build|\\.git)/")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE report)
list(LENGTH files n)
if(NOT status EQUAL 0)
    string(REGEX MATCHALL "[^\n:]+:[0-9]+:[0-9]+: error" found "${report}")
    set(differ)
    foreach(line IN LISTS found)
        string(REGEX REPLACE ":[0-9]+:[0-9]+: error$" "" file "${line}")
        list(APPEND differ ${file})
    endforeach()
    list(REMOVE_DUPLICATES differ)
    foreach(file IN LISTS differ)
        message("${file}: not as clang-format writes it")
    endforeach()
    if(NOT differ)
        message("${report}")
    endif()
    message(FATAL_ERROR "files differ from what clang-format writes (of ${n} checked)")
endif()
message("${n} files as clang-format writes them")
