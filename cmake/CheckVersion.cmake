# cmake -DSOURCE_DIR=DIR -P cmake/CheckVersion.cmake
# Fails unless the newest entry of DIR/data/package/changelog is the version
# of project() in DIR/CMakeLists.txt.
include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)
file(STRINGS "${SOURCE_DIR}/CMakeLists.txt" project_line REGEX "^project\\(")
string(REGEX MATCH "VERSION ([0-9.]+)" _ "${project_line}")
set(project_version "${CMAKE_MATCH_1}")
tormel_changelog_entry("${SOURCE_DIR}/data/package/changelog" changelog)
if(NOT project_version OR NOT changelog_UPSTREAM STREQUAL project_version)
  message(FATAL_ERROR "the newest entry of data/package/changelog is ${changelog_UPSTREAM}-${changelog_REVISION}, "
                      "the project's version ${project_version}: add an entry for ${project_version}")
endif()
message(STATUS "version ${project_version}, package ${changelog_UPSTREAM}-${changelog_REVISION} of ${changelog_DATE}")
