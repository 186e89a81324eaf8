# The Debian package: cpack -G DEB in a build configured with an install
# prefix of /usr (scripts/package does both).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tormel-vue)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tormel_Vue maintainers <maintainers@tormel-vue.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Download, view and export the records of a kart lap timer and data logger")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries' own analysis finds Qt's libraries; the platform plugins,
# Qt's translations of its dialogs and the desktop opener it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, xdg-utils")
include(CPack)
