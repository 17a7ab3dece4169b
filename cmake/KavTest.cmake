# kav_add_test(NAME source... [LIBS lib...]): a GoogleTest executable whose
# cases CTest lists one by one. Widget tests run on the offscreen platform.
function(kav_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main kavcore ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    kav_compile_options(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KAV_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
        DISCOVERY_TIMEOUT 60)
endfunction()
