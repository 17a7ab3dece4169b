# kav_add_test(NAME source... [LIBS lib...]): a GoogleTest executable whose
# cases CTest lists one by one. Widget tests run on the offscreen platform.
function(kav_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main kavserial ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    kav_compile_options(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()

# kav_folder_tests(): every *_test.cpp of the calling folder becomes its own
# test program test_<folder>_<name>; the tests of widget folders and the
# dialog tests (*_dialog_test.cpp) of any folder also link kavwidgets.
# Any *.cmake file beside them is included for tests that need more.
function(kav_folder_tests)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(test ${tests})
        get_filename_component(name ${test} NAME_WE)
        set(libs)
        if(TARGET kavwidgets AND (folder MATCHES "^(view|print|app)$" OR name MATCHES "_dialog_test$"))
            set(libs kavwidgets Qt6::Test)
        endif()
        string(REGEX REPLACE "_test$" "" name ${name})
        kav_add_test(test_${folder}_${name} ${test} LIBS ${libs})
    endforeach()
    file(GLOB extras CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
    foreach(extra ${extras})
        include(${extra})
    endforeach()
endfunction()

# kav_test_runs_kavtool(TARGET): the test program runs the built kavtool
# (tests/kavtool_run.h), whose path it gets as KAVTOOL_PATH, and those of its
# drawing and serial-line parts as KAVTOOL_PAINT_PATH and KAVTOOL_PORT_PATH.
function(kav_test_runs_kavtool target)
    target_compile_definitions(${target} PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>"
        KAVTOOL_PAINT_PATH="$<TARGET_FILE:kavtool-paint>"
        KAVTOOL_PORT_PATH="$<TARGET_FILE:kavtool-port>")
    add_dependencies(${target} kavtool kavtool-paint kavtool-port)
endfunction()
