# File operations: copy, move, rename and delete of batches with their journal for undoing them,
# dropped URL lists; the trash through Qt's freedesktop trash; the modifier keys through Qt.
add_library(orbivane_platform_fileops STATIC
  ${CMAKE_CURRENT_LIST_DIR}/file_contents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_journal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_leaf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_operation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_undo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uri_list.cpp
)
target_include_directories(orbivane_platform_fileops PUBLIC ${PROJECT_SOURCE_DIR})

add_library(orbivane_platform_fileops_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/qt_trash.cpp
)
target_link_libraries(orbivane_platform_fileops_qt PUBLIC orbivane_platform_fileops Qt6::Core)

target_sources(orbivane_platform_qt PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qt_keyboard_modifiers.cpp
)
