# The Linux saver program `orinthal`: X11/GLX window, xscreensaver modes,
# headless --snapshot on EGL.
if(NOT WIN32)
  # Command-line parsing on its own: pure, for the tests and the fuzzer.
  add_library(orinthal_command_line STATIC ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
  target_include_directories(orinthal_command_line PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(orinthal_command_line PUBLIC orinthal_cp1252)

  # Until the renderer and the dialog are built, stand-ins keep the program
  # whole; delete these branches once both targets always exist.
  if(NOT TARGET orinthal_render)
    add_library(orinthal_placeholder_render STATIC ${CMAKE_CURRENT_LIST_DIR}/placeholder_renderer.cpp)
    target_link_libraries(orinthal_placeholder_render PUBLIC orinthal_gl orinthal_surface)
    set(orinthal_renderer orinthal_placeholder_render)
  else()
    set(orinthal_renderer orinthal_render)
  endif()
  if(NOT TARGET orinthal_dialog)
    add_library(orinthal_placeholder_dialog STATIC ${CMAKE_CURRENT_LIST_DIR}/placeholder_dialog.cpp)
    target_include_directories(orinthal_placeholder_dialog PUBLIC ${PROJECT_SOURCE_DIR})
    set(orinthal_dialog_library orinthal_placeholder_dialog)
  else()
    set(orinthal_dialog_library orinthal_dialog)
  endif()

  # Everything of the program but main: shared with the tests.
  add_library(orinthal_linux_shell STATIC
    ${CMAKE_CURRENT_LIST_DIR}/glx_context.cpp
    ${CMAKE_CURRENT_LIST_DIR}/snapshot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lifecycle_trace.cpp)
  # The renderer first: it presents through orinthal_surface.
  target_link_libraries(orinthal_linux_shell PUBLIC
    ${orinthal_renderer} orinthal_command_line orinthal_settings orinthal_egl orinthal_surface
    orinthal_gl X11::X11 OpenGL::GLX PNG::PNG)

  add_executable(orinthal ${CMAKE_CURRENT_LIST_DIR}/x11_saver.cpp)
  target_link_libraries(orinthal PRIVATE orinthal_linux_shell ${orinthal_dialog_library})
endif()
