# The settings record on its own, for the parts that only read it.
add_library(orinthal_settings_record STATIC ${CMAKE_CURRENT_LIST_DIR}/settings_record.cpp)
target_include_directories(orinthal_settings_record PUBLIC ${PROJECT_SOURCE_DIR})
