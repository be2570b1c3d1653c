# Model, control, tools, workspaces and map functions (offscreen); included by CMakeLists.txt.
add_library(qiwu_map_test_fixture STATIC map_fixture.cpp)
target_link_libraries(qiwu_map_test_fixture PUBLIC qiwu_map GTest::gtest)
qiwu_add_test(map_layer_test SOURCES layer_test.cpp LIBS qiwu_map)
qiwu_add_test(map_workspace_test SOURCES workspace_test.cpp LIBS qiwu_map_test_fixture)
qiwu_add_test(map_control_test SOURCES map_control_test.cpp LIBS qiwu_map_test_fixture Qt6::Test)
qiwu_add_test(map_tools_test SOURCES tools_test.cpp LIBS qiwu_map_test_fixture Qt6::Test)
qiwu_add_test(map_function_test SOURCES map_function_test.cpp LIBS qiwu_map_test_fixture Qt6::Test)
