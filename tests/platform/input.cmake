orbivane_layer_tests(orbivane_platform_input_tests
  input_events_test.cpp
  linux_joystick_test.cpp
  qt_input_test.cpp
)
target_link_libraries(orbivane_platform_input_tests PRIVATE orbivane_platform_qt)
