# The program: build/vantrel, and what `cmake --install` puts on the system.

add_executable(vantrel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(vantrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(vantrel PRIVATE vt_app Qt6::Widgets vantrel_warnings)

include(GNUInstallDirs)
install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(${PROJECT_SOURCE_DIR}/resources/io.vantrel.Vantrel.desktop.in
               ${CMAKE_BINARY_DIR}/generated/resources/${VANTREL_APP_ID}.desktop COPYONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/resources/${VANTREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vantrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VANTREL_APP_ID}.svg)
