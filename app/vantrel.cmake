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
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/io.vantrel.Vantrel-symbolic.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/symbolic/apps)

# `make package`: a Debian package of what `cmake --install` puts on the system. Its
# dependencies are the packages of the shared libraries the program links (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "The Vantrel developers <maintainers@vantrel.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Clipboard history: hold Ctrl+V to paste an earlier copy")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vantrel keeps a history of what you copy and lives in the tray. Holding Ctrl+V opens a\n"
    "picker at the pointer; releasing Ctrl pastes the chosen clip. A short press pastes as\n"
    "usual. Needs an X11 session (or Xwayland).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
