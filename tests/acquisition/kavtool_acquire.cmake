# The headless acquisition test runs the built kavtool; its path comes in at
# compile time.
if(TARGET kavtool AND TARGET test_acquisition_kavtool_acquire)
    target_compile_definitions(test_acquisition_kavtool_acquire PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_acquisition_kavtool_acquire kavtool)
endif()
