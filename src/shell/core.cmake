target_sources(tormel_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/app_info.h
  ${CMAKE_CURRENT_LIST_DIR}/text_tables.h ${CMAKE_CURRENT_LIST_DIR}/text_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_codec.h ${CMAKE_CURRENT_LIST_DIR}/text_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language_files.h ${CMAKE_CURRENT_LIST_DIR}/language_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.h ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_log.h ${CMAKE_CURRENT_LIST_DIR}/error_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_folder.h ${CMAKE_CURRENT_LIST_DIR}/program_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_layout.h ${CMAKE_CURRENT_LIST_DIR}/window_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_file.h ${CMAKE_CURRENT_LIST_DIR}/background_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_command.h ${CMAKE_CURRENT_LIST_DIR}/export_command.cpp)
