target_sources(tormel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/app_info.h
  ${CMAKE_CURRENT_LIST_DIR}/text_tables.h ${CMAKE_CURRENT_LIST_DIR}/text_tables.cpp)
