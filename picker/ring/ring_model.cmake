# Ring geometry: pure arithmetic, standard library only.
add_library(vt_ring_geometry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ring_geometry.cpp
)
target_include_directories(vt_ring_geometry PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vt_ring_geometry PUBLIC vt_platform_types PRIVATE vantrel_warnings)
set_target_properties(vt_ring_geometry PROPERTIES AUTOMOC OFF)

# The ring's observable model.
add_library(vt_ring_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ring_model.cpp
)
target_link_libraries(vt_ring_model
    PUBLIC vt_ring_geometry vt_machine vt_history Qt6::Core
    PRIVATE vantrel_warnings)
