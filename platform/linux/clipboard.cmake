# How freedesktop clipboard MIME types map onto the program's type identifiers: shared by the X11
# and the Wayland clipboard.
add_library(vt_clipboard_mime STATIC ${CMAKE_CURRENT_LIST_DIR}/clipboard_mime.cpp)
target_link_libraries(vt_clipboard_mime PUBLIC vt_platform PRIVATE vantrel_warnings)
# The X11 clipboard and frontmost-application services behind platform/pasteboard.h and
# platform/workspace.h.
add_library(vt_linux_clipboard STATIC
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_x11_errors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/selection_fetch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_pasteboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/x11_workspace.cpp
)
target_link_libraries(vt_linux_clipboard
    PUBLIC vt_platform vt_linux_desktop_entry vt_clipboard_mime Qt6::Gui
    PRIVATE X11::X11 X11::Xfixes vantrel_warnings)
