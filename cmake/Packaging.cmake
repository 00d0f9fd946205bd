# Installation under a prefix and the Debian package built by scripts/package (CPack).
include(GNUInstallDirs)

install(TARGETS korvan-vkp korvan-vkp-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(KORVAN_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(KORVAN_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/korvan-vkp)
set(KORVAN_GENERATED ${PROJECT_BINARY_DIR}/packaging)
install(FILES ${KORVAN_PACKAGING}/korvan-vkp.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORVAN_PACKAGING}/korvan-vkp.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${KORVAN_PACKAGING}/io.github.korvan.Vkp.metainfo.xml ${KORVAN_GENERATED}/io.github.korvan.Vkp.metainfo.xml
  @ONLY)
install(FILES ${KORVAN_GENERATED}/io.github.korvan.Vkp.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Help pages: the program shows them from inside itself; the installed copy is for reading without it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/ DESTINATION ${KORVAN_DOCDIR}/help)

# Manual pages, compressed as Debian wants them. The command-line one is made from its --help.
configure_file(${KORVAN_PACKAGING}/korvan-vkp.1 ${KORVAN_GENERATED}/korvan-vkp.1 @ONLY)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${KORVAN_GENERATED}/korvan-vkp.1.gz ${KORVAN_GENERATED}/korvan-vkp-cli.1.gz
  COMMAND ${Python3_EXECUTABLE} ${KORVAN_PACKAGING}/cli-manpage.py $<TARGET_FILE:korvan-vkp-cli> ${PROJECT_VERSION}
          ${KORVAN_GENERATED}/korvan-vkp-cli.1
  COMMAND gzip -9nf ${KORVAN_GENERATED}/korvan-vkp-cli.1
  COMMAND gzip -9nc ${KORVAN_GENERATED}/korvan-vkp.1 > ${KORVAN_GENERATED}/korvan-vkp.1.gz
  DEPENDS korvan-vkp-cli ${KORVAN_PACKAGING}/cli-manpage.py ${KORVAN_GENERATED}/korvan-vkp.1
  VERBATIM)
add_custom_target(korvan_manpages ALL DEPENDS ${KORVAN_GENERATED}/korvan-vkp.1.gz ${KORVAN_GENERATED}/korvan-vkp-cli.1.gz)
install(FILES ${KORVAN_GENERATED}/korvan-vkp.1.gz ${KORVAN_GENERATED}/korvan-vkp-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian's documentation files: the copyright and the changelog of a package made by its authors.
configure_file(${KORVAN_PACKAGING}/changelog ${KORVAN_GENERATED}/changelog @ONLY)
add_custom_command(OUTPUT ${KORVAN_GENERATED}/changelog.gz
  COMMAND gzip -9nc ${KORVAN_GENERATED}/changelog > ${KORVAN_GENERATED}/changelog.gz
  DEPENDS ${KORVAN_GENERATED}/changelog VERBATIM)
add_custom_target(korvan_changelog ALL DEPENDS ${KORVAN_GENERATED}/changelog.gz)
install(FILES ${KORVAN_PACKAGING}/copyright ${KORVAN_GENERATED}/changelog.gz DESTINATION ${KORVAN_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvan-vkp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Korvan Vkp developers <korvan-vkp@example.org>")
set(CPACK_PACKAGE_VENDOR "Korvan Vkp")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "choose low-voltage capacitor installations for reactive power compensation")
set(CPACK_PACKAGE_DESCRIPTION "Korvan Vkp designs the reactive power compensation of an installation up to
1 kV: tariffs and daily load graph, characteristics without compensation,
variants from a catalogue of capacitor installations, savings and payback,
an analysis ranking candidate installations, charts and Word/PDF reports.
The interface is in Russian. A command-line program does the same without
windows.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libpq is loaded only when a store on a server is opened, so the library scan does not see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n, xdg-utils, libpq5")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer")
# Stripped binaries in the package, their debug symbols in korvan-vkp-dbgsym (.ddeb). CPack strips
# them itself; CPACK_STRIP_FILES would strip them before the symbols are taken out.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
