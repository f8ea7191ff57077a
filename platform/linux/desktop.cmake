# The XDG desktop-entry reader: one parser and one index of the installed entries, used by the
# application catalog and by the frontmost-application lookup.
add_library(vt_linux_desktop_entry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp
)
target_link_libraries(vt_linux_desktop_entry PUBLIC vt_platform Qt6::Core PRIVATE vantrel_warnings)

# The desktop's side of the windows: the trust check for the event tap and the catalog of
# installed applications (desktop entries).
add_library(vt_linux_desktop STATIC
    ${PROJECT_SOURCE_DIR}/platform/trust.h
    ${PROJECT_SOURCE_DIR}/platform/app_catalog.h
    ${CMAKE_CURRENT_LIST_DIR}/x11_trust.h
    ${CMAKE_CURRENT_LIST_DIR}/x11_trust.cpp
    ${CMAKE_CURRENT_LIST_DIR}/desktop_app_catalog.h
    ${CMAKE_CURRENT_LIST_DIR}/desktop_app_catalog.cpp
)
target_link_libraries(vt_linux_desktop
    PUBLIC vt_platform vt_linux_desktop_entry Qt6::Gui
    PRIVATE X11::xcb vantrel_warnings)
