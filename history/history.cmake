# The clip record, the history with its JSON file, and the thumbnail cache.
add_library(vt_history STATIC
    ${CMAKE_CURRENT_LIST_DIR}/clip_history.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clip_history_json.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clip_item.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clip_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/history_saver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/thumbnail_cache.cpp
)
target_include_directories(vt_history PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_history PUBLIC Qt6::Core Qt6::Gui vt_platform PRIVATE vantrel_warnings)
