target_sources(tormel_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/principale.h ${CMAKE_CURRENT_LIST_DIR}/principale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/principale_records.cpp)
target_sources(tormel_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menus.h ${CMAKE_CURRENT_LIST_DIR}/menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels.h ${CMAKE_CURRENT_LIST_DIR}/panels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/title_card.h ${CMAKE_CURRENT_LIST_DIR}/title_card.cpp)
