# cmake --install into a scratch DESTDIR puts the programs, the library, its
# header, the desktop file and the icon in their usual places.
add_test(NAME app_install_tree
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
            -DDEST_DIR=${CMAKE_CURRENT_BINARY_DIR}/install_root
            -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_install.cmake)
set_tests_properties(app_install_tree PROPERTIES TIMEOUT 120)
