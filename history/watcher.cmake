# The clipboard watcher: feeds the clip history from the clipboard and writes chosen clips back.
add_library(vt_watcher STATIC
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_watcher.cpp
)
target_include_directories(vt_watcher PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_watcher PUBLIC vt_history vt_platform Qt6::Gui PRIVATE vantrel_warnings)
