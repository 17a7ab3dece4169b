# The port-name test runs the built kavtool; its path comes in at compile time.
if(TARGET kavtool AND TARGET test_tools_kavtool_port)
    target_compile_definitions(test_tools_kavtool_port PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_tools_kavtool_port kavtool)
endif()
