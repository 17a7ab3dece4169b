# Installs BUILD_DIR under DEST_DIR with the prefix /usr and checks the tree.
file(REMOVE_RECURSE ${DEST_DIR})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${DEST_DIR}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
    usr/bin/kav7
    usr/bin/kavtool
    usr/include/tdx.h
    usr/share/applications/kav7.desktop
    usr/share/icons/hicolor/scalable/apps/kav7.svg)
file(GLOB libtdx ${DEST_DIR}/usr/lib*/libtdx.so ${DEST_DIR}/usr/lib/*/libtdx.so)
if(NOT libtdx)
    message(FATAL_ERROR "libtdx.so not installed under usr/lib")
endif()
foreach(path ${expected})
    if(NOT EXISTS ${DEST_DIR}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(READ ${DEST_DIR}/usr/share/applications/kav7.desktop desktop)
foreach(line "Type=Application" "Exec=kav7" "Icon=kav7")
    string(FIND "${desktop}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "kav7.desktop lacks ${line}")
    endif()
endforeach()
file(READ ${DEST_DIR}/usr/share/icons/hicolor/scalable/apps/kav7.svg icon)
string(FIND "${icon}" "<svg" at)
if(at EQUAL -1)
    message(FATAL_ERROR "kav7.svg is not an SVG image")
endif()
message(STATUS "install tree complete")
