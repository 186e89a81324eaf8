# The version is written once, in project() of CMakeLists.txt; the Debian
# changelog's newest entry must name it (cmake/CheckVersion.cmake, run by
# scripts/package and by a test). Everything else that shows a version is
# generated from PROJECT_VERSION here.

# The newest entry of a Debian changelog: VERSION-REVISION and its date as
# YYYY-MM-DD, into <prefix>_UPSTREAM, <prefix>_REVISION and <prefix>_DATE.
function(tormel_changelog_entry changelog prefix)
  file(STRINGS "${changelog}" heads REGEX "^[a-z0-9.+-]+ \\(")
  file(STRINGS "${changelog}" trailers REGEX "^ -- ")
  list(GET heads 0 head)
  list(GET trailers 0 trailer)
  string(REGEX REPLACE "^[^(]*\\(([^)]*)\\).*" "\\1" version "${head}")
  string(REGEX MATCH "^(.*)-([^-]*)$" _ "${version}")
  set(${prefix}_UPSTREAM "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set(${prefix}_REVISION "${CMAKE_MATCH_2}" PARENT_SCOPE)
  string(REGEX MATCH ", ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) " _ "${trailer}")
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(FIND months "${CMAKE_MATCH_2}" month)
  math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
  string(LENGTH "${CMAKE_MATCH_1}" day_digits)
  set(day "${CMAKE_MATCH_1}")
  if(day_digits EQUAL 1)
    set(day "0${day}")
  endif()
  if(month LESS 10)
    set(month "0${month}")
  endif()
  set(${prefix}_DATE "${CMAKE_MATCH_3}-${month}-${day}" PARENT_SCOPE)
endfunction()
