# Project-wide build helpers: the one warnings target, the sanitizer option, test registration.

option(VANTREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VANTREL_WERROR "Treat warnings as errors" OFF)

find_program(VANTREL_CCACHE ccache)
if(VANTREL_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${VANTREL_CCACHE})
    set(CMAKE_C_COMPILER_LAUNCHER ${VANTREL_CCACHE})
endif()

# Every target links this: one place for warnings and sanitizer flags.
add_library(vantrel_warnings INTERFACE)
target_compile_options(vantrel_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Wunused -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2
    -Wimplicit-fallthrough -Wmisleading-indentation)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(vantrel_warnings INTERFACE -Wduplicated-cond -Wlogical-op)
endif()
if(VANTREL_WERROR)
    target_compile_options(vantrel_warnings INTERFACE -Werror)
endif()
if(VANTREL_SANITIZE)
    target_compile_options(vantrel_warnings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vantrel_warnings INTERFACE -fsanitize=address,undefined)
endif()

set(VANTREL_WITH_XVFB ${PROJECT_SOURCE_DIR}/scripts/with-xvfb)
set(VANTREL_WITH_WAYLAND ${PROJECT_SOURCE_DIR}/scripts/with-wayland)

# vt_add_test(<name> <target> [X11] [WM] [TRAY] [COMPOSITOR] [SCREEN WxHxD] [WAYLAND] [KWIN]
#             [LABELS l...] [ARGS a...])
# Registers a ctest test. X11 runs it under its own private Xvfb (WM adds openbox,
# TRAY an XEmbed tray host, COMPOSITOR xcompmgr, SCREEN another screen size than 1920x1080x24);
# WAYLAND under its own headless Sway and KWIN under its own virtual KWin, as an unprivileged
# user; tests without any get no display.
function(vt_add_test name target)
    cmake_parse_arguments(T "X11;WM;TRAY;COMPOSITOR;WAYLAND;KWIN" "TIMEOUT;SCREEN" "LABELS;ARGS"
        ${ARGN})
    if(T_WAYLAND OR T_KWIN)
        set(compositor sway)
        if(T_KWIN)
            set(compositor kwin)
        endif()
        add_test(NAME ${name} COMMAND ${VANTREL_WITH_WAYLAND} --compositor ${compositor} --
            $<TARGET_FILE:${target}> ${T_ARGS})
        list(APPEND T_LABELS wayland)
    elseif(T_X11 OR T_WM OR T_TRAY OR T_COMPOSITOR)
        set(wrap ${VANTREL_WITH_XVFB})
        if(T_SCREEN)
            list(APPEND wrap --screen ${T_SCREEN})
        endif()
        if(T_WM)
            list(APPEND wrap --wm)
        endif()
        if(T_TRAY)
            list(APPEND wrap --tray)
        endif()
        if(T_COMPOSITOR)
            list(APPEND wrap --compositor)
        endif()
        add_test(NAME ${name} COMMAND ${wrap} -- $<TARGET_FILE:${target}> ${T_ARGS})
        list(APPEND T_LABELS x11)
    else()
        add_test(NAME ${name} COMMAND $<TARGET_FILE:${target}> ${T_ARGS})
        list(APPEND T_LABELS unit)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM_PLUGIN_PATH=;VANTREL_SOURCE_DIR=${PROJECT_SOURCE_DIR};VANTREL_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# Each layer's CMakeLists.txt includes every <layer>/*.cmake file, so that each part of a layer
# (written and owned separately) declares its own library with its sources listed explicitly.
macro(vt_include_parts)
    file(GLOB _vt_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
    list(SORT _vt_parts)
    foreach(_vt_part IN LISTS _vt_parts)
        include(${_vt_part})
    endforeach()
endmacro()

# Adds every immediate sub-folder that has a CMakeLists.txt.
macro(vt_add_subfolders)
    file(GLOB _vt_dirs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT _vt_dirs)
    foreach(_vt_dir IN LISTS _vt_dirs)
        if(IS_DIRECTORY ${_vt_dir} AND EXISTS ${_vt_dir}/CMakeLists.txt)
            add_subdirectory(${_vt_dir})
        endif()
    endforeach()
endmacro()
