# Input devices: keyboard and mouse from window events, joysticks from the Linux joystick
# interface, and a scripted source for tests.
target_sources(orbivane_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/input_events.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux_joystick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scripted_input.cpp
)
target_sources(orbivane_platform_qt PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/qt_input.cpp
)
