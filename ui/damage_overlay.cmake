# The overlay window that repaints only what its view reports as changed (full-screen overlays).
add_library(vt_ui_damage_overlay STATIC
    ${CMAKE_CURRENT_LIST_DIR}/damage_overlay_window.cpp
)
target_link_libraries(vt_ui_damage_overlay
    PUBLIC vt_platform Qt6::Gui Qt6::Widgets PRIVATE vantrel_warnings)
