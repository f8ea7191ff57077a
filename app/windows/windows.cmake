# The onboarding and settings windows (Qt Widgets).
add_library(vt_windows STATIC
    ${CMAKE_CURRENT_LIST_DIR}/window_style.cpp
    ${CMAKE_CURRENT_LIST_DIR}/symbols.cpp
    ${CMAKE_CURRENT_LIST_DIR}/grouped_form.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_activation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/onboarding_model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/onboarding_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/onboarding_window_controller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/general_tab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_chooser_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_tab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paste_keys_section.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about_tab.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_window_controller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tab_selection.h
)
target_link_libraries(vt_windows
    PUBLIC vt_app_shell vt_ui Qt6::Widgets
    PRIVATE vantrel_warnings)
