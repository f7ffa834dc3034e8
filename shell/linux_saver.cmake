# The Linux saver program `orinthal`: X11/GLX window, xscreensaver modes,
# headless --snapshot on EGL.
if(NOT WIN32)
  # Command-line parsing on its own: pure, for the tests and the fuzzer.
  add_library(orinthal_command_line STATIC ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
  target_include_directories(orinthal_command_line PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(orinthal_command_line PUBLIC orinthal_cp1252)

  # Everything of the program but main: shared with the tests.
  add_library(orinthal_linux_shell STATIC
    ${CMAKE_CURRENT_LIST_DIR}/glx_context.cpp
    ${CMAKE_CURRENT_LIST_DIR}/snapshot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lifecycle_trace.cpp)
  target_link_libraries(orinthal_linux_shell PUBLIC
    orinthal_render orinthal_command_line orinthal_settings orinthal_egl orinthal_surface
    orinthal_gl X11::X11 OpenGL::GLX PNG::PNG)

  # GTK stays out of the saver's process: --configure execs orinthal-settings
  # from the program's own directory, so building one builds the other.
  add_executable(orinthal ${CMAKE_CURRENT_LIST_DIR}/x11_saver.cpp)
  target_link_libraries(orinthal PRIVATE orinthal_linux_shell)
  add_dependencies(orinthal orinthal-settings)
endif()
