# File operations: copy, move, rename and delete of batches with their journal for undoing them,
# the journal of a running operation for cleaning up after a kill, the desktop's trash, dropped URL
# lists; the modifier keys through Qt.
add_library(orbivane_platform_fileops STATIC
  ${CMAKE_CURRENT_LIST_DIR}/file_contents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_inflight.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_journal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_leaf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_operation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_transfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_undo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/percent_encoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trash.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uri_list.cpp
)
target_include_directories(orbivane_platform_fileops PUBLIC ${PROJECT_SOURCE_DIR})

target_sources(orbivane_platform_qt PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qt_keyboard_modifiers.cpp
)
