# The fan picker on screen: its view (rows, tiles, preview bubble) and its panel.
add_library(vt_fan STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fan_view_style.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fan_tile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fan_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/preview_bubble.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fan_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fan_panel.cpp
)
target_link_libraries(vt_fan
    PUBLIC vt_fan_model vt_ui vt_animation vt_animation_driver vt_history
           vt_platform Qt6::Gui Qt6::Widgets
    PRIVATE vantrel_warnings)
