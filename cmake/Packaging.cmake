# The Debian package: cpack -G DEB in a build configured with an install
# prefix of /usr (scripts/package does both, then checks it with lintian).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tormel-vue)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision: that of the newest entry of data/package/changelog,
# whose upstream version scripts/package checks against PROJECT_VERSION.
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TORMEL_CHANGELOG_REVISION})
set(CPACK_PACKAGE_CONTACT "Tormel_Vue maintainers <maintainers@tormel-vue.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "download, view and export the records of a kart lap timer")
set(CPACK_PACKAGE_DESCRIPTION [=[
Tormel_Vue works beside a kart lap timer and data logger. It receives the
recorded run over a serial line, keeps it in record files and shows it: the
lap table with speeds from the track's lengths, best and theoretical-best
laps, a lap-time bar chart, the time spent in each engine-speed range, the
engine-speed traces of three laps with a measuring cursor, and the running
hours of five engines.
.
It keeps a database of 100 tracks, exports records to spreadsheet files and
writes session reports as PDF files, from its window or from the command
line. It speaks French, Dutch, English, German, Spanish and Italian.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed binaries lose their symbols; the build keeps them.
set(CPACK_STRIP_FILES ON)
# The libraries' own analysis finds Qt's libraries; the platform plugins and
# the desktop opener it cannot see. Qt's translations of its dialogs are
# welcome, not needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, libqcustomplot2.1-qt6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
