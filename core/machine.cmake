# The hold-paste machine and picker placement: pure, standard library only.
add_library(vt_machine STATIC
    ${CMAKE_CURRENT_LIST_DIR}/hold_paste_machine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hold_paste_machine_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/panel_placement.cpp
)
target_include_directories(vt_machine PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_machine PUBLIC vt_platform_types PRIVATE vantrel_warnings)
set_target_properties(vt_machine PROPERTIES AUTOMOC OFF)
