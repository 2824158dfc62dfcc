# The GL binding: the interface, EGL without a window (tests, tools) and Qt in a window.
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)

add_library(orbivane_platform_gl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/egl_gl_binding.cpp
)
target_include_directories(orbivane_platform_gl PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orbivane_platform_gl PUBLIC OpenGL::EGL OpenGL::OpenGL)

add_library(orbivane_platform_gl_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/qt_gl_binding.cpp
)
target_link_libraries(orbivane_platform_gl_qt PUBLIC orbivane_platform_gl Qt6::Gui Qt6::OpenGL)
