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
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD-PARTY.md ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
