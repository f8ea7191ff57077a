# Fan geometry: pure arithmetic, standard library only.
add_library(vt_fan_geometry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fan_geometry.cpp
)
target_include_directories(vt_fan_geometry PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_fan_geometry PUBLIC vt_platform_types PRIVATE vantrel_warnings)
set_target_properties(vt_fan_geometry PROPERTIES AUTOMOC OFF)

# The fan's observable model.
add_library(vt_fan_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/fan_model.cpp
)
target_link_libraries(vt_fan_model
    PUBLIC vt_fan_geometry vt_machine vt_history Qt6::Core
    PRIVATE vantrel_warnings)
