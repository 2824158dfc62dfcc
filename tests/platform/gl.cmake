target_sources(orbivane_platform_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/egl_gl_binding_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_gl_binding_test.cpp
)
target_link_libraries(orbivane_platform_tests PRIVATE orbivane_platform_gl_qt OpenGL::OpenGL)
