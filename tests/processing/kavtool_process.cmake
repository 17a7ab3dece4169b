# The kavtool process test runs the built binary; its path comes in at
# compile time.
if(TARGET kavtool AND TARGET test_processing_kavtool_process)
    target_compile_definitions(test_processing_kavtool_process
        PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_processing_kavtool_process kavtool)
endif()
