orbivane_layer_tests(orbivane_platform_files_tests
  directory_listing_test.cpp
  entry_properties_test.cpp
  folder_count_test.cpp
  folder_watch_test.cpp
  fresh_memory_test.cpp
  size_history_test.cpp
  volumes_test.cpp
  system_folders_test.cpp
)
target_link_libraries(orbivane_platform_files_tests PRIVATE orbivane_platform_files_qt)
find_package(ZLIB REQUIRED)
target_link_libraries(orbivane_platform_files_tests PRIVATE orbivane_platform_sizes ZLIB::ZLIB)
target_compile_definitions(orbivane_platform_files_tests PRIVATE
  ORBIVANE_SIZES_REGRESSIONS="${PROJECT_SOURCE_DIR}/tests/fuzz/regressions/sizes")
