cmake_minimum_required(VERSION 3.25)
# Installs BUILD_DIR under DEST_DIR with the prefix /usr, checks the tree as
# the desktop tools read it, then uninstalls it by its manifest. Leaves the
# tree in place for the tests that use it (the fixture "installed_tree"):
# the uninstall runs on a copy.
set(root ${DEST_DIR})
file(REMOVE_RECURSE ${root})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(failures "")
function(fail text)
    set(failures "${failures}\n  ${text}" PARENT_SCOPE)
endfunction()

# Runs a checker; a failure is a finding.
function(expect_success what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        set(failures "${failures}\n  ${what} (exit ${rc}): ${out}${err}" PARENT_SCOPE)
    endif()
endfunction()

# Runs a checker; any output or a failure is a finding.
function(expect_silent what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(STRIP "${out}${err}" said)
    if(NOT rc EQUAL 0 OR NOT said STREQUAL "")
        set(failures "${failures}\n  ${what} (exit ${rc}): ${said}" PARENT_SCOPE)
    endif()
endfunction()

# ---- Every file in its place.
file(GLOB metainfo RELATIVE ${root} ${root}/usr/share/metainfo/*.metainfo.xml)
set(expected
    usr/bin/kav7
    usr/bin/kavtool
    usr/libexec/kav7/kav7-start
    usr/libexec/kav7/kavtool-paint
    usr/libexec/kav7/kavtool-port
    usr/include/kav7/tdx.h
    usr/share/applications/kav7.desktop
    usr/share/icons/hicolor/scalable/apps/kav7.svg
    usr/share/icons/hicolor/48x48/apps/kav7.png
    usr/share/icons/hicolor/256x256/apps/kav7.png
    usr/share/mime/packages/kav7.xml
    usr/share/man/man1/kav7.1
    usr/share/man/man1/kavtool.1)
foreach(path ${expected})
    if(NOT EXISTS ${root}/${path})
        fail("not installed: ${path}")
    endif()
endforeach()
list(LENGTH metainfo count)
if(NOT count EQUAL 1)
    fail("one AppStream metainfo file expected in usr/share/metainfo, found: ${metainfo}")
endif()

# ---- libtdx: the SONAME libtdx.so.1, the development link, the pkg-config
# file and the CMake package.
file(GLOB libdir LIST_DIRECTORIES true ${root}/usr/lib/libtdx.so.1 ${root}/usr/lib/*/libtdx.so.1)
if(NOT libdir)
    fail("libtdx.so.1 not installed under usr/lib")
else()
    get_filename_component(libdir ${libdir} DIRECTORY)
    execute_process(COMMAND readelf -d ${libdir}/libtdx.so.1 OUTPUT_VARIABLE dynamic)
    if(NOT dynamic MATCHES "Library soname: \\[libtdx\\.so\\.1\\]")
        fail("libtdx.so.1 does not carry the SONAME libtdx.so.1")
    endif()
    file(READ_SYMLINK ${libdir}/libtdx.so dev_link)
    if(NOT dev_link STREQUAL "libtdx.so.1")
        fail("libtdx.so links to '${dev_link}', not to libtdx.so.1")
    endif()
    foreach(path pkgconfig/tdx.pc cmake/Tdx/TdxConfig.cmake cmake/Tdx/TdxConfigVersion.cmake)
        if(NOT EXISTS ${libdir}/${path})
            fail("not installed beside the library: ${path}")
        endif()
    endforeach()
    file(READ ${libdir}/pkgconfig/tdx.pc pc)
    if(NOT pc MATCHES "^prefix=/usr\n")
        fail("tdx.pc does not name the installed prefix /usr:\n${pc}")
    endif()
endif()

# ---- The desktop entry: valid, one main category, keywords, and it starts
# the installed launcher.
set(desktop_file ${root}/usr/share/applications/kav7.desktop)
expect_silent("desktop-file-validate kav7.desktop" desktop-file-validate ${desktop_file})
file(STRINGS ${desktop_file} desktop)
set(main_categories AudioVideo Audio Video Development Education Game Graphics Network Office
    Science Settings System Utility)
set(main_found "")
foreach(line ${desktop})
    if(line MATCHES "^Categories=(.*)$")
        string(REPLACE ";" " " categories "${CMAKE_MATCH_1}")
        separate_arguments(categories)
        foreach(category ${categories})
            if(category IN_LIST main_categories)
                list(APPEND main_found ${category})
            endif()
        endforeach()
    elseif(line MATCHES "^Exec=(.*)$")
        set(exec "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^Keywords=.")
        set(keywords ON)
    endif()
endforeach()
list(LENGTH main_found count)
if(NOT count EQUAL 1)
    fail("kav7.desktop: one main category expected, found '${main_found}'")
endif()
if(NOT keywords)
    fail("kav7.desktop has no Keywords")
endif()
if(NOT exec STREQUAL "/usr/libexec/kav7/kav7-start")
    fail("kav7.desktop starts '${exec}', not the installed launcher /usr/libexec/kav7/kav7-start")
endif()
execute_process(COMMAND test -x ${root}${exec} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    fail("the launcher ${exec} is not executable")
endif()

# ---- Icons: the PNG files are PNG images of their folder's size.
foreach(size 48 256)
    set(png ${root}/usr/share/icons/hicolor/${size}x${size}/apps/kav7.png)
    if(EXISTS ${png})
        file(READ ${png} header LIMIT 24 HEX)
        # The signature, then the IHDR chunk: width and height, big-endian.
        math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
        string(REPLACE "0x" "" hex_size ${hex_size})
        string(LENGTH ${hex_size} digits)
        math(EXPR pad "8 - ${digits}")
        string(REPEAT "0" ${pad} zeros)
        set(word "${zeros}${hex_size}")
        string(TOLOWER "${word}" word)
        if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${word}${word}")
            fail("kav7.png of ${size}x${size} is not a ${size}x${size} PNG: ${header}")
        endif()
    endif()
endforeach()
file(READ ${root}/usr/share/icons/hicolor/scalable/apps/kav7.svg icon)
if(NOT icon MATCHES "<svg")
    fail("kav7.svg is not an SVG image")
endif()

# ---- AppStream: valid without warnings, launched by the installed entry,
# released at the program's version.
if(metainfo)
    set(metainfo_file ${root}/${metainfo})
    # --strict: a warning or an information fails too.
    expect_success("appstreamcli validate ${metainfo}" appstreamcli validate --no-net --strict
                   --no-color ${metainfo_file})
    file(READ ${metainfo_file} component)
    get_filename_component(id ${metainfo} NAME)
    string(REPLACE ".metainfo.xml" "" id ${id})
    if(NOT component MATCHES "<id>${id}</id>")
        fail("${metainfo}: the file is not named after the component id")
    endif()
    if(NOT component MATCHES "<launchable type=\"desktop-id\">kav7.desktop</launchable>")
        fail("${metainfo}: not launched by kav7.desktop")
    endif()
    if(NOT component MATCHES "<release version=\"${VERSION}\"")
        fail("${metainfo}: no release of version ${VERSION}")
    endif()
    if(NOT component MATCHES "<screenshot type=\"default\">")
        fail("${metainfo}: no default screenshot")
    endif()
endif()

# ---- The MIME type: the shared MIME database built from the installed
# definition knows *.kav and shows it with the program's icon.
set(mime ${BUILD_DIR}/tests/packaging/mime)
file(REMOVE_RECURSE ${mime})
file(COPY ${root}/usr/share/mime/packages DESTINATION ${mime})
set(ENV{XDG_DATA_DIRS} ${BUILD_DIR}/tests/packaging)
expect_silent("update-mime-database" update-mime-database ${mime})
file(READ ${mime}/globs2 globs)
if(NOT globs MATCHES ":application/x-kav7-spectrum:\\*\\.kav\n")
    fail("the MIME database has no glob *.kav for application/x-kav7-spectrum")
endif()
file(READ ${mime}/icons icons)
if(NOT icons MATCHES "application/x-kav7-spectrum:kav7\n")
    fail("application/x-kav7-spectrum is not shown with the icon kav7")
endif()

# ---- Manual pages: roff without warnings, at the program's version.
foreach(page kav7 kavtool)
    set(man ${root}/usr/share/man/man1/${page}.1)
    if(EXISTS ${man})
        expect_silent("groff ${page}.1" groff -k -man -ww -z -Tutf8 ${man})
        file(READ ${man} roff)
        if(NOT roff MATCHES "\n\\.TH \"${page}\" \"1\" [^\n]*\"Kav7 ${VERSION}\"")
            fail("${page}.1 does not name version ${VERSION} in its title line")
        endif()
    endif()
endforeach()

# ---- The programs run from the tree: through their RUNPATH where the build
# gives them one (a prefix such as /usr/local), else with the tree's library
# folder named, as the loader would search /usr/lib itself.
# The RUNPATH of kavtool's parts leads from libexec/kav7 to the same folder.
string(REPLACE "$ORIGIN/" "$ORIGIN/../" paint_rpath "${INSTALL_RPATH}")
foreach(program bin/kav7 bin/kavtool libexec/kav7/kavtool-paint libexec/kav7/kavtool-port)
    execute_process(COMMAND readelf -d ${root}/usr/${program} OUTPUT_VARIABLE dynamic)
    set(runpath "")
    if(dynamic MATCHES "Library runpath: \\[([^]]*)\\]")
        set(runpath "${CMAKE_MATCH_1}")
    endif()
    set(expected_rpath "${INSTALL_RPATH}")
    if(program MATCHES "^libexec/")
        set(expected_rpath "${paint_rpath}")
    endif()
    if(NOT runpath STREQUAL "${expected_rpath}")
        fail("${program} has the RUNPATH '${runpath}', not '${expected_rpath}'")
    endif()
endforeach()
set(loader_path "")
if(INSTALL_RPATH STREQUAL "" AND libdir)
    set(loader_path "LD_LIBRARY_PATH=${libdir}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${loader_path} ${root}/usr/bin/kavtool --version
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "kavtool ${VERSION}\n")
    fail("the installed kavtool --version says '${out}${err}' (exit ${rc})")
endif()

# kavtool draws through the kavtool-paint installed beside its launcher, and
# only that one loads Qt Gui.
set(work ${BUILD_DIR}/tests/packaging/drawing)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(WRITE ${work}/s.tsv "100\t1000\n30000\t3000\n60000\t2000\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${loader_path} ${root}/usr/bin/kavtool import
                        ${work}/s.tsv -o ${work}/s.kav)
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        ${loader_path} ${root}/usr/bin/kavtool export ${work}/s.kav
                        --format svg -o ${work}/s.svg
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${work}/s.svg)
    fail("the installed kavtool does not draw a picture (exit ${rc}): ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env ${loader_path} ldd ${root}/usr/bin/kavtool
                OUTPUT_VARIABLE libraries)
if(libraries MATCHES "lib(Qt6Gui|Qt6Widgets|Qt6PrintSupport|Qt6Svg|Qt6DBus|Qt6SerialPort|udev)")
    fail("the installed kavtool loads lib${CMAKE_MATCH_1}")
endif()
# A port command runs in the kavtool-port installed beside it: a port that
# does not exist is its own refusal, not a part that cannot be run.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${loader_path} ${root}/usr/bin/kavtool
                        listen --port ${work}/no-such-port
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err MATCHES "^kavtool: [^\n]*no-such-port: No such file or directory\n$")
    fail("the installed kavtool listen did not run its serial-line part (exit ${rc}): ${err}")
endif()
file(REMOVE_RECURSE ${work})

# ---- The Debian changelog names the same version as the build.
file(STRINGS ${SOURCE_DIR}/debian/changelog top LIMIT_COUNT 1)
if(NOT top MATCHES "^kav7 \\(${VERSION}\\) ")
    fail("debian/changelog starts with '${top}', not version ${VERSION}")
endif()

# ---- Uninstall: removing what install_manifest.txt lists leaves no file of
# the tree behind (on a copy, so the tree stays for the other tests).
set(copy ${BUILD_DIR}/tests/packaging/uninstall_root)
file(REMOVE_RECURSE ${copy})
file(COPY ${root}/ DESTINATION ${copy})
file(STRINGS ${BUILD_DIR}/install_manifest.txt manifest)
foreach(path ${manifest})
    file(REMOVE ${copy}${path})
endforeach()
file(GLOB_RECURSE left LIST_DIRECTORIES false RELATIVE ${copy} ${copy}/*)
if(left)
    fail("files the manifest does not list, left after uninstalling: ${left}")
endif()
file(REMOVE_RECURSE ${copy})

if(failures)
    message(FATAL_ERROR "the installed tree:${failures}")
endif()
message(STATUS "install tree complete")
