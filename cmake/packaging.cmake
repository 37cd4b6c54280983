# `cpack` (through script/package) makes a Debian package of what `cmake --install` puts in
# place. Its version is the project's; dpkg-shlibdeps works out what it depends on.
include(GNUInstallDirs)

set(QUILLON_MAINTAINER "Quillon developers <quillon@example.org>" CACHE STRING "The package's Maintainer field")

# Debian wants the copyright and a compressed changelog in the package's documentation folder.
# The changelog takes the project's version and maintainer, so that it names the package it is in.
set(docs ${CMAKE_INSTALL_DATADIR}/doc/quillon)
set(changelog_text ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
set(changelog ${changelog_text}.gz)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${changelog_text} @ONLY)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${GZIP} -9 -n -c ${changelog_text} > ${changelog}
  DEPENDS ${changelog_text})
add_custom_target(quillon-changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION ${docs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_CONTACT ${QUILLON_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reverse text files by bytes, lines or characters")
set(CPACK_PACKAGE_DESCRIPTION "Quillon reverses a text file in one of three ways: all of its bytes
backwards, its lines in reverse order (last line first), or the characters
of each line. The result is written beside the file and shown in a window;
the same modes work from a shell or a script with quillon --mode.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's icon is an SVG: Qt draws it through a plug-in, which no linked library names.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libqt6svg6)
include(CPack)
