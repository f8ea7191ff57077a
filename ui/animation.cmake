# Animation engine: curves, transactions, animated values (pure), and the Qt frame driver.
add_library(vt_animation STATIC
    ${CMAKE_CURRENT_LIST_DIR}/animation_curve.cpp
    ${CMAKE_CURRENT_LIST_DIR}/animation_transaction.cpp
    ${CMAKE_CURRENT_LIST_DIR}/animation_clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/animation_values.cpp
)
target_link_libraries(vt_animation PUBLIC vt_platform_types PRIVATE vantrel_warnings)

add_library(vt_animation_driver STATIC
    ${CMAKE_CURRENT_LIST_DIR}/animation_driver.h
    ${CMAKE_CURRENT_LIST_DIR}/animation_driver.cpp
)
target_link_libraries(vt_animation_driver PUBLIC vt_animation Qt6::Core PRIVATE vantrel_warnings)
