# File-system services: directory listing, volumes, special folders, folder sizes counted by worker
# threads and folder watches. The documents folder comes from the desktop's standard locations and
# names are folded to compare without case as Qt knows the letters of every script, so both live in a
# small Qt library of their own.
find_package(Threads REQUIRED)
add_library(orbivane_platform_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/directory_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_properties.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_count.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_count_tree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_watch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fresh_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_folders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/volumes.cpp
)
target_include_directories(orbivane_platform_files PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orbivane_platform_files PUBLIC Threads::Threads)

add_library(orbivane_platform_files_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/qt_case_fold.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_documents_folder.cpp
)
target_link_libraries(orbivane_platform_files_qt PUBLIC orbivane_platform_files Qt6::Core)

# Size histories: the totals of every count of a folder kept in the state folder, compressed with
# zlib, and what grew between two counts.
find_package(ZLIB REQUIRED)
add_library(orbivane_platform_sizes STATIC
  ${CMAKE_CURRENT_LIST_DIR}/size_growth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/size_history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/size_history_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/size_history_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/size_history_store.cpp
)
target_include_directories(orbivane_platform_sizes PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orbivane_platform_sizes PUBLIC orbivane_platform_files orbivane_platform PRIVATE ZLIB::ZLIB)
