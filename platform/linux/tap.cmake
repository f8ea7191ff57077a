# The X11 event tap: a private Xlib connection on its own thread, grabs, XTest.
add_library(vt_linux_tap STATIC
    ${CMAKE_CURRENT_LIST_DIR}/x11_error_trap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_event_tap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_tap_translation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_tap_worker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/verdict_timing.h
)
target_include_directories(vt_linux_tap PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_linux_tap
    PUBLIC vt_platform Qt6::Core
    PRIVATE X11::X11 X11::X11_xcb X11::xcb X11::Xtst X11::Xi vantrel_warnings)
