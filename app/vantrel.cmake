# The program: build/vantrel.
add_executable(vantrel ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
set_target_properties(vantrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_libraries(vantrel PRIVATE vt_history vt_platform Qt6::Core vantrel_warnings)
