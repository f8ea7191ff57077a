# The program's wiring: the application delegate, the tray menu, single instance, signals.
add_library(vt_status_menu STATIC ${CMAKE_CURRENT_LIST_DIR}/status_menu.cpp)
target_link_libraries(vt_status_menu PUBLIC vt_history vt_app_shell Qt6::Widgets
    PRIVATE vantrel_warnings)

add_library(vt_app STATIC
    ${CMAKE_CURRENT_LIST_DIR}/exit_guard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unix_signals.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_delegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tray_glyph.cpp
)
# The program icon and the tray glyph (read back as :/vantrel/*.svg).
qt_add_resources(vt_app vt_app_icons
    PREFIX /vantrel
    BASE ${PROJECT_SOURCE_DIR}/resources/icons
    FILES ${PROJECT_SOURCE_DIR}/resources/icons/vantrel.svg
          ${PROJECT_SOURCE_DIR}/resources/icons/io.vantrel.Vantrel-symbolic.svg
)
# The English translation of the program's texts (Japanese is the source language), compiled
# from resources/translations/*.ts and read back as :/i18n/vantrel_<lang>.qm.
qt_add_lrelease(vt_app TS_FILES ${PROJECT_SOURCE_DIR}/resources/translations/vantrel_en.ts
    QM_FILES_OUTPUT_VARIABLE VANTREL_QM_FILES)
qt_add_resources(vt_app vt_app_translations PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}
    FILES ${VANTREL_QM_FILES})
target_link_libraries(vt_app
    PUBLIC vt_status_menu vt_windows vt_app_shell vt_core vt_watcher vt_ring vt_fan
           vt_platform_services vt_platform Qt6::Widgets Qt6::Svg
    PRIVATE vantrel_warnings)
