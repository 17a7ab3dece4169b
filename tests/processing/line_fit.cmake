# The fit's test program also holds the comparison's cases: one program,
# linked once.
target_sources(test_processing_line_fit PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/spectrum_compare_cases.cpp)
