# Pieces both pickers share: overlay window, painting helpers, text, symbols, materials, icons.
add_library(vt_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/overlay_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/painting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/symbols.cpp
    ${CMAKE_CURRENT_LIST_DIR}/materials.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_icons.cpp
)
target_link_libraries(vt_ui PUBLIC vt_platform Qt6::Gui Qt6::Widgets PRIVATE vantrel_warnings)
