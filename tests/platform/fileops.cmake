orbivane_layer_tests(orbivane_platform_fileops_tests
  file_contents_test.cpp
  file_inflight_test.cpp
  file_operation_test.cpp
  file_operation_faults_test.cpp
  file_operation_identity_test.cpp
  file_transfer_test.cpp
  trash_test.cpp
  file_undo_test.cpp
  uri_list_test.cpp
)
target_link_libraries(orbivane_platform_fileops_tests PRIVATE orbivane_platform_fileops Qt6::Core)
