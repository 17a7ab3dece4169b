# The kavtool print test runs the built binary; its path comes in at compile
# time.
if(TARGET kavtool AND TARGET test_print_kavtool_print)
    target_compile_definitions(test_print_kavtool_print PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_print_kavtool_print kavtool)
endif()
