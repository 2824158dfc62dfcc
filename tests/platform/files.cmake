orbivane_layer_tests(orbivane_platform_files_tests
  directory_listing_test.cpp
  entry_properties_test.cpp
  folder_count_test.cpp
  folder_watch_test.cpp
  volumes_test.cpp
  system_folders_test.cpp
)
target_link_libraries(orbivane_platform_files_tests PRIVATE orbivane_platform_files_qt)
