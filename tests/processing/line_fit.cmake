# The fit's test program also holds the comparison's cases and those of the
# kavtool commands fit and compare: one program, linked once.
target_sources(test_processing_line_fit PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/spectrum_compare_cases.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fit_kavtool_cases.cpp)
# The Jacobian's factor is tested as the optimiser reads it, with Eigen.
target_link_libraries(test_processing_line_fit PRIVATE Eigen3::Eigen)
target_compile_definitions(test_processing_line_fit PRIVATE EIGEN_MPL2_ONLY)
kav_test_runs_kavtool(test_processing_line_fit)
