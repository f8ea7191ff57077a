# The hold-paste controller: the machine wired to the event tap, the pickers and the main queue.
add_library(vt_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/hold_paste_controller.cpp
)
target_include_directories(vt_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_core PUBLIC vt_machine vt_history vt_platform PRIVATE vantrel_warnings)
