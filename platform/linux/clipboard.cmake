# The X11 clipboard and frontmost-application services behind platform/pasteboard.h and
# platform/workspace.h.
add_library(vt_linux_clipboard STATIC
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_mime.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_errors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/selection_fetch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_pasteboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_workspace.cpp
)
target_link_libraries(vt_linux_clipboard
    PUBLIC vt_platform vt_linux_desktop_entry Qt6::Gui
    PRIVATE X11::X11 X11::Xfixes vantrel_warnings)
