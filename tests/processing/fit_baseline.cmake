# The normal matrix of the fit's Jacobian is tested as the optimiser reads
# it, with Eigen.
target_link_libraries(test_processing_fit_baseline PRIVATE Eigen3::Eigen)
target_compile_definitions(test_processing_fit_baseline PRIVATE EIGEN_MPL2_ONLY)
