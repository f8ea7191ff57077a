# The application shell: settings store, bundle facts, update checks, move to Applications.
configure_file(${PROJECT_SOURCE_DIR}/resources/info.json.in
               ${CMAKE_BINARY_DIR}/generated/resources/info.json @ONLY)

add_library(vt_app_shell STATIC
    ${CMAKE_CURRENT_LIST_DIR}/preferences.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/trust_texts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/appcast.cpp
    ${CMAKE_CURRENT_LIST_DIR}/updater.cpp
    ${CMAKE_CURRENT_LIST_DIR}/standard_user_driver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/update_check_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/updater_model.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_location.cpp
    ${CMAKE_CURRENT_LIST_DIR}/move_alerts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/move_to_applications.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/desktop_services.cpp
)
# The information dictionary, compiled in (read back as :/vantrel/info.json).
qt_add_resources(vt_app_shell vt_app_info
    PREFIX /vantrel
    BASE ${CMAKE_BINARY_DIR}/generated/resources
    FILES ${CMAKE_BINARY_DIR}/generated/resources/info.json
)
target_link_libraries(vt_app_shell
    PUBLIC vt_platform Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
    PRIVATE vantrel_warnings)
