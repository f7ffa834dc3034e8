# The Windows screen saver module, orinthal.scr: our screen saver library, the
# saver's window procedure and dialog, the WGL context, and the resources.
if(NOT WIN32)
  return()
endif()
enable_language(RC)

# How the module is started: command-line modes and the mouse rule, no system calls.
add_library(orinthal_win32_command_line STATIC ${CMAKE_CURRENT_LIST_DIR}/win32_command_line.cpp)
target_include_directories(orinthal_win32_command_line PUBLIC ${PROJECT_SOURCE_DIR})

# The resource script: pictures, icon, name, dialog 2003, version, manifest.
# An object library, so that test programs can carry the same resources.
add_library(orinthal_win32_resources OBJECT ${PROJECT_SOURCE_DIR}/resources/orinthal.rc)
target_include_directories(orinthal_win32_resources PRIVATE
  ${PROJECT_SOURCE_DIR}/resources
  ${PROJECT_SOURCE_DIR})
file(GLOB orinthal_win32_resource_files CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/*.jpg
  ${PROJECT_SOURCE_DIR}/resources/*.gif
  ${PROJECT_SOURCE_DIR}/resources/win32/*)
set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/orinthal.rc PROPERTIES
  OBJECT_DEPENDS "${orinthal_win32_resource_files};${CMAKE_CURRENT_LIST_DIR}/win32_resource_ids.h")

# The screen saver library and the saver's side of it.
add_library(orinthal_win32_saver STATIC
  ${CMAKE_CURRENT_LIST_DIR}/win32_saver_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_saver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_config_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wgl_context.cpp)
target_include_directories(orinthal_win32_saver PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orinthal_win32_saver PUBLIC
  orinthal_win32_command_line
  orinthal_render
  orinthal_settings
  orinthal_gl
  comctl32 gdi32 user32)

add_executable(orinthal_scr WIN32 ${CMAKE_CURRENT_LIST_DIR}/win32_entry.cpp)
target_link_libraries(orinthal_scr PRIVATE orinthal_win32_saver orinthal_win32_resources)
# One file, no DLLs beside it: everything but the system's own DLLs is linked in.
target_link_options(orinthal_scr PRIVATE -static -static-libgcc -static-libstdc++ -mwindows)
set_target_properties(orinthal_scr PROPERTIES OUTPUT_NAME orinthal SUFFIX .scr)
