# The Linux session services of the application shell: user defaults in an ini file and the
# XDG autostart login item.
add_library(vt_linux_session STATIC
    ${CMAKE_CURRENT_LIST_DIR}/session_user_defaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_login_items.cpp
)
target_link_libraries(vt_linux_session PUBLIC vt_platform Qt6::Core PRIVATE vt_linux_desktop_entry
    vantrel_warnings)
