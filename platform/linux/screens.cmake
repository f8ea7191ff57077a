# Screens, visible frames and the pointer from Qt, in the program's window space.
add_library(vt_linux_screens STATIC
    ${CMAKE_CURRENT_LIST_DIR}/screens_linux.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shm_screen_grab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_tray_colors.cpp
)
find_library(VT_XCB_SHM_LIB xcb-shm REQUIRED)
target_link_libraries(vt_linux_screens PUBLIC vt_platform Qt6::Gui
    PRIVATE X11::X11 X11::xcb ${VT_XCB_SHM_LIB} vantrel_warnings)
