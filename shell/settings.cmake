# The settings record on its own, for the parts that only read it.
add_library(orinthal_settings_record STATIC ${CMAKE_CURRENT_LIST_DIR}/settings_record.cpp)
target_include_directories(orinthal_settings_record PUBLIC ${PROJECT_SOURCE_DIR})

# Windows-1252 <-> UTF-8, for the stored text (settings file, command line, dialog).
add_library(orinthal_cp1252 STATIC ${CMAKE_CURRENT_LIST_DIR}/cp1252.cpp)
target_include_directories(orinthal_cp1252 PUBLIC ${PROJECT_SOURCE_DIR})

# LoadSettings / SaveSettings over the platform's store.
add_library(orinthal_settings STATIC ${CMAKE_CURRENT_LIST_DIR}/settings_store.cpp)
target_link_libraries(orinthal_settings PUBLIC orinthal_settings_record)
if(WIN32)
  # The registry backend; the Windows module brings it.
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/registry_settings.cpp)
    target_sources(orinthal_settings PRIVATE ${CMAKE_CURRENT_LIST_DIR}/registry_settings.cpp)
  endif()
  target_link_libraries(orinthal_settings PRIVATE advapi32)
else()
  target_sources(orinthal_settings PRIVATE ${CMAKE_CURRENT_LIST_DIR}/keyfile_settings.cpp)
  target_link_libraries(orinthal_settings PRIVATE orinthal_cp1252 PkgConfig::GLIB)
endif()
