# The configuration dialog on Linux: GTK 3 widgets over the toolkit-free
# control rules in dialog_controls.cpp.
if(WIN32)
  return()
endif()

pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)

add_library(orinthal_dialog STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialog_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gtk_dialog.cpp)
target_include_directories(orinthal_dialog PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orinthal_dialog PUBLIC orinthal_settings PRIVATE orinthal_cp1252 PkgConfig::GTK3)

# The dialog's own program; the saver execs it for --configure and is
# installed beside it.
add_executable(orinthal-settings ${CMAKE_CURRENT_LIST_DIR}/gtk_settings_main.cpp)
target_link_libraries(orinthal-settings PRIVATE orinthal_dialog)
