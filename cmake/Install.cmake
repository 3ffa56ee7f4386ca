# Installation: the two programs, the desktop entry, the file type of label
# files and the icons, in the XDG places below the prefix.
#   cmake --install build --prefix ~/.local     (for one user)
#   cmake --install build --prefix /usr         (a package; DESTDIR for staging)
# The desktop entry and the type are the same ones the program writes for
# "Rückenschilddateien immer mit dorlix öffnen".
include(GNUInstallDirs)

foreach(program dorlix dorlix-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(DORLIX_RESOURCES ${PROJECT_SOURCE_DIR}/src/app/resources)
install(FILES ${DORLIX_RESOURCES}/dorlix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DORLIX_RESOURCES}/dorlix-rsd.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${DORLIX_RESOURCES}/dorlix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${DORLIX_RESOURCES}/dorlix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-dorlix-rsd.svg)
# Named like the package, as Debian keeps documentation.
set(DORLIX_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/dorlix)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD-PARTY.md ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${DORLIX_DOCDIR})
# What a Debian package must carry beside them, and its manual pages
# compressed; scripts/package.sh makes these files before it runs cpack.
if(DORLIX_PACKAGE_FILES)
  install(FILES ${DORLIX_PACKAGE_FILES}/copyright ${DORLIX_PACKAGE_FILES}/changelog.gz
          DESTINATION ${DORLIX_DOCDIR})
  install(FILES ${DORLIX_PACKAGE_FILES}/dorlix.1.gz ${DORLIX_PACKAGE_FILES}/dorlix-cli.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/dorlix.1 ${PROJECT_SOURCE_DIR}/docs/man/dorlix-cli.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The desktop learns the new type and entry once its databases are rebuilt.
# A staged install (DESTDIR, packages) leaves that to the package manager.
install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    find_program(DORLIX_UPDATE_MIME update-mime-database)
    if(DORLIX_UPDATE_MIME)
      execute_process(COMMAND ${DORLIX_UPDATE_MIME} "${share}/mime" RESULT_VARIABLE rc)
      message(STATUS "update-mime-database ${share}/mime: ${rc}")
    endif()
    find_program(DORLIX_UPDATE_DESKTOP update-desktop-database)
    if(DORLIX_UPDATE_DESKTOP)
      execute_process(COMMAND ${DORLIX_UPDATE_DESKTOP} "${share}/applications" RESULT_VARIABLE rc)
      message(STATUS "update-desktop-database ${share}/applications: ${rc}")
    endif()
  endif()
]])

# The Debian package (scripts/package.sh): the install rules above under /usr,
# with the dependencies dpkg-shlibdeps finds in the programs' libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorlix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Dorlix maintainers <dorlix@users.noreply.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded at run time, so no library dependency names them: the fonts the
# labels are measured with, Qt's German dialog texts, TIFF and WebP pictures.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-image-formats-plugins, cups-client")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "printer-driver-cups-pdf, glabels-data")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spine labels for ring binders and label sheets (Rückenschilder)")
# The long description; CPack indents it and puts the summary before it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Dorlix designs and prints spine labels for ring binders and sheets of
labels: a sheet is a printed page divided into columns and rows of fields,
each holding a formatted text or a picture (BMP, JPEG, EMF, WMF, PNG, SVG
and more), a fill colour and border lines. It reads and writes the .rsd
label files, prints through CUPS and comes with dorlix-cli for scripts.

Dorlix gestaltet und druckt Rückenschilder für Ordner und Etikettenbögen:
ein Bogen ist eine Druckseite aus Spalten und Reihen von Feldern, jedes mit
einem formatierten Text oder einem Bild, einer Füllfarbe und Randlinien.
Die Bedienoberfläche ist deutsch.")
include(CPack)
