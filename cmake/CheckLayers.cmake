cmake_policy(SET CMP0057 NEW) # IN_LIST

# Checks the layering of the source folders; run as a test:
#   cmake -DSOURCE_DIR=... -DQT_INCLUDE_DIR=... -P CheckLayers.cmake
#
# 1. A folder includes only its own files and those of the folders below it.
#    The folders from the bottom up; folders on one line are peers and do not
#    include each other.
# 2. Core files (every file but *_painter, *_dialog, *_window and *_widget,
#    and but those of the window folders, which are the window side whole)
#    include Qt headers of Qt Core and Qt Serial Port only, and no painter or
#    widget file; painter files no header of Qt Widgets and no widget file.
# 3. No unit (a .h and its .cpp) includes a unit that includes it back.
# Every finding is printed; the test fails when there is any.

set(LAYERS
    "tdx base"
    "config"
    "spectrum"
    "link"
    "sim"
    "processing"
    "exchange"
    "acquisition"
    "session"
    "view"
    "print"
    "app tools")

# The folders that are the window side whole. kavtool's files (tools/) are
# core files like any other: what of it draws is in its _painter files, which
# build kavtool-paint.
set(WINDOW_FOLDERS app)
set(CORE_MODULES QtCore QtSerialPort)
set(PAINTER_MODULES QtCore QtSerialPort QtGui QtPrintSupport QtSvg)

set(rank 0)
set(folders)
foreach(line IN LISTS LAYERS)
    string(REPLACE " " ";" peers "${line}")
    foreach(folder IN LISTS peers)
        set(RANK_${folder} ${rank})
        list(APPEND folders ${folder})
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

# The Qt module a header name such as QString or QtGui/QImage belongs to.
function(qt_module_of header out)
    if(header MATCHES "^(Qt[A-Za-z]+)/")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
        return()
    endif()
    file(GLOB found LIST_DIRECTORIES false "${QT_INCLUDE_DIR}/Qt*/${header}")
    if(found)
        list(GET found 0 first)
        get_filename_component(dir ${first} DIRECTORY)
        get_filename_component(module ${dir} NAME)
        set(${out} ${module} PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

set(findings)
set(qt_cache_names)
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
        continue()
    endif()
    file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        get_filename_component(stem ${file} NAME_WE)
        if(stem MATCHES "_(dialog|window|widget)$" OR folder IN_LIST WINDOW_FOLDERS)
            set(kind widget)
        elseif(stem MATCHES "_painter$")
            set(kind painter)
        else()
            set(kind core)
        endif()
        file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS lines)
            if(line MATCHES "\"([a-z_]+)/([A-Za-z0-9_./]+)\"")
                set(to ${CMAKE_MATCH_1})
                set(unit ${CMAKE_MATCH_1}/${CMAKE_MATCH_2})
                string(REGEX REPLACE "\\.h$" "" unit ${unit})
                get_filename_component(from_unit ${file} NAME_WE)
                set(from_unit ${folder}/${from_unit})
                if(NOT from_unit STREQUAL unit)
                    list(APPEND EDGES_${from_unit} ${unit})
                    list(APPEND units ${from_unit})
                endif()
                # A core file includes no painter or widget file, a painter
                # file no widget file: they would bring their Qt modules.
                get_filename_component(to_stem ${unit} NAME_WE)
                if(to_stem MATCHES "_(dialog|window|widget)$" AND NOT kind STREQUAL widget)
                    list(APPEND findings "${file}: a ${kind} file includes the widget file ${unit}")
                elseif(to_stem MATCHES "_painter$" AND kind STREQUAL core)
                    list(APPEND findings "${file}: a core file includes the painter file ${unit}")
                endif()
                if(to STREQUAL folder OR NOT DEFINED RANK_${to})
                    continue()
                endif()
                if(NOT RANK_${to} LESS RANK_${folder})
                    list(APPEND findings "${file}: includes ${to}/, which is not below ${folder}/")
                endif()
            elseif(line MATCHES "<(Q[A-Za-z/]+)>" AND NOT kind STREQUAL widget)
                set(header ${CMAKE_MATCH_1})
                if(NOT DEFINED MODULE_${header})
                    qt_module_of(${header} module)
                    set(MODULE_${header} "${module}")
                endif()
                set(module "${MODULE_${header}}")
                if(module STREQUAL "")
                    continue()
                endif()
                if(kind STREQUAL core)
                    set(allowed ${CORE_MODULES})
                else()
                    set(allowed ${PAINTER_MODULES})
                endif()
                if(NOT module IN_LIST allowed)
                    list(APPEND findings "${file}: a ${kind} file includes <${header}> of ${module}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

# Units that include each other.
list(REMOVE_DUPLICATES units)
foreach(a IN LISTS units)
    set(edges ${EDGES_${a}})
    list(REMOVE_DUPLICATES edges)
    foreach(b IN LISTS edges)
        if(a STRLESS b AND a IN_LIST EDGES_${b})
            list(APPEND findings "${a} and ${b} include each other")
        endif()
    endforeach()
endforeach()

if(findings)
    list(REMOVE_DUPLICATES findings)
    foreach(f IN LISTS findings)
        message("${f}")
    endforeach()
    list(LENGTH findings n)
    message(FATAL_ERROR "${n} layering fault(s)")
endif()
message("layering holds")
