# The kavtool test runs the built binary; its path comes in at compile time.
if(TARGET kavtool AND TARGET test_tools_kavtool)
    target_compile_definitions(test_tools_kavtool PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_tools_kavtool kavtool)
endif()
if(TARGET kavtool AND TARGET test_tools_kavtool_exchange)
    target_compile_definitions(test_tools_kavtool_exchange PRIVATE KAVTOOL_PATH="$<TARGET_FILE:kavtool>")
    add_dependencies(test_tools_kavtool_exchange kavtool)
endif()
