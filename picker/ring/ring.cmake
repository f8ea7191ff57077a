# The ring picker on screen: its view, centre preview and panel.
add_library(vt_ring STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ring_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_view_paint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_view_art.cpp
    ${CMAKE_CURRENT_LIST_DIR}/center_preview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ring_panel.cpp
)
target_link_libraries(vt_ring
    PUBLIC vt_ring_model vt_ui vt_animation vt_animation_driver vt_history vt_platform Qt6::Gui Qt6::Widgets
    PRIVATE vantrel_warnings)
