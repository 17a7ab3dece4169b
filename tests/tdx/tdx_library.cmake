# The routines test also reads the symbol table and the dynamic section of the
# built library, and calls the routines from a C translation unit.
target_sources(test_tdx_routines PRIVATE ${CMAKE_CURRENT_LIST_DIR}/c_interface.c)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/c_interface.c PROPERTIES
    COMPILE_OPTIONS "-std=c99;-pedantic-errors")
target_compile_definitions(test_tdx_routines PRIVATE
    TDX_LIBRARY_FILE="$<TARGET_FILE:tdx>"
    TDX_SANITIZED=$<BOOL:${KAV_SANITIZE}>)
