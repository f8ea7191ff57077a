# The X11 backend's factory: every service of an X11 session in one PlatformServices.
add_library(vt_linux_platform STATIC ${CMAKE_CURRENT_LIST_DIR}/x11_platform.cpp)
target_link_libraries(vt_linux_platform
    PUBLIC vt_platform Qt6::Gui
    PRIVATE vt_linux_clipboard vt_linux_desktop vt_linux_screens vt_linux_session vt_linux_tap
        X11::X11 vantrel_warnings)
