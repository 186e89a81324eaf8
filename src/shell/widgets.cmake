target_sources(tormel_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/principale.h ${CMAKE_CURRENT_LIST_DIR}/principale.cpp)
