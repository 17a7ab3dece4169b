# Install rules shared by the folders.

# kav_install_configured(TEMPLATE DESTINATION): installs TEMPLATE (a file
# ending in .in) into DESTINATION, configured twice: the variables of the
# build (@CMAKE_INSTALL_LIBDIR@, @TDX_VERSION@) when the build is configured,
# and @KAV_PREFIX@ when it is installed, so the file names the prefix the
# tree goes to (cmake --install --prefix, a package's /usr), not the one the
# build was configured with. The file enters install_manifest.txt as every
# other installed file.
function(kav_install_configured template destination)
    get_filename_component(name ${template} NAME)
    string(REGEX REPLACE "\\.in$" "" name ${name})
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/install-stage)
    set(KAV_PREFIX "@KAV_PREFIX@")
    configure_file(${template} ${stage}/${name}.in @ONLY)
    install(CODE "
        set(KAV_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
        configure_file(\"${stage}/${name}.in\" \"${stage}/${name}\" @ONLY)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${destination}\" TYPE FILE
             FILES \"${stage}/${name}\")")
endfunction()
