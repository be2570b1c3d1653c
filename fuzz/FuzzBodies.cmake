# The fuzz target bodies, one library each, for the libFuzzer programs and the replay test.
if(NOT TARGET qiwu_fuzz_workspace)
  add_library(qiwu_fuzz_workspace STATIC ${CMAKE_CURRENT_LIST_DIR}/targets/WorkspaceInput.cpp)
  target_link_libraries(qiwu_fuzz_workspace PUBLIC qiwu_map_core)
  add_library(qiwu_fuzz_database STATIC ${CMAKE_CURRENT_LIST_DIR}/targets/DatabaseInput.cpp)
  target_link_libraries(qiwu_fuzz_database PUBLIC qiwu_data)
  add_library(qiwu_fuzz_statement STATIC ${CMAKE_CURRENT_LIST_DIR}/targets/StatementInput.cpp)
  target_link_libraries(qiwu_fuzz_statement PUBLIC qiwu_data)
endif()
