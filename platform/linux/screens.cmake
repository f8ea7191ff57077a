# Screens, visible frames and the pointer from Qt, in the program's window space.
add_library(vt_linux_screens STATIC
    ${CMAKE_CURRENT_LIST_DIR}/screens_linux.cpp
)
target_link_libraries(vt_linux_screens PUBLIC vt_platform Qt6::Gui PRIVATE X11::X11 vantrel_warnings)
