# Warnings and sanitizers shared by every target of the project.
set(KAV_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

# Unoptimised with line tables only: the sanitized test build compiles in
# half the time of -O1 -g, and the reports still name file and line.
if(KAV_SANITIZE)
    add_compile_options(${KAV_SANITIZE_FLAGS} -O0 -g1)
    add_link_options(${KAV_SANITIZE_FLAGS})
endif()

function(kav_compile_options target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-unused-parameter)
    if(KAV_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# kav_folder_sources([SERIAL file.cpp...]): the .cpp files of the calling
# folder go into kavcore, except painter files (*_painter), which go into
# kavpaint, widget files (*_dialog, *_window, *_widget), which go into
# kavwidgets, and the files named after SERIAL (those that reach QSerialPort),
# which go into kavserial.
function(kav_folder_sources)
    cmake_parse_arguments(ARG "" "" "SERIAL" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(ARG_SERIAL)
        list(TRANSFORM ARG_SERIAL PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
        list(REMOVE_ITEM sources ${ARG_SERIAL})
        target_sources(kavserial PRIVATE ${ARG_SERIAL})
    endif()
    set(widget_sources ${sources})
    set(painter_sources ${sources})
    list(FILTER sources EXCLUDE REGEX "_(dialog|window|widget|painter)\\.cpp$")
    list(FILTER widget_sources INCLUDE REGEX "_(dialog|window|widget)\\.cpp$")
    list(FILTER painter_sources INCLUDE REGEX "_painter\\.cpp$")
    if(sources)
        target_sources(kavcore PRIVATE ${sources})
    endif()
    if(painter_sources)
        target_sources(kavpaint PRIVATE ${painter_sources})
    endif()
    # Without the window program (KAV_BUILD_GUI off) the widget files are
    # not built.
    if(widget_sources AND TARGET kavwidgets)
        target_sources(kavwidgets PRIVATE ${widget_sources})
    endif()
endfunction()
