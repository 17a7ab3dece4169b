# The help test runs the built kavtool and reads the built manual page.
kav_test_runs_kavtool(test_tools_kavtool_help)
target_compile_definitions(test_tools_kavtool_help PRIVATE
    KAVTOOL_MANUAL="${PROJECT_BINARY_DIR}/packaging/kavtool.1")
add_dependencies(test_tools_kavtool_help man_pages)
