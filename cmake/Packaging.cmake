# Install rules and the Debian package: the two programs, the icon in the hicolor theme,
# the desktop entry, the data-file type, the AppStream metainfo and the man pages.
include(GNUInstallDirs)

set(MORVIK_APP_ID org.morvik.Morvik)
set(MORVIK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

if(TARGET morvik)
  install(TARGETS morvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${MORVIK_PACKAGING_DIR}/${MORVIK_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${MORVIK_PACKAGING_DIR}/${MORVIK_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${MORVIK_PACKAGING_DIR}/morvik.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(TARGETS morvik-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MORVIK_PACKAGING_DIR}/morvik-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME morvik.xml)

# Man pages go into the package compressed, as the distribution keeps them.
find_program(MORVIK_GZIP gzip)
if(MORVIK_GZIP)
  set(man_pages)
  foreach(page morvik.1 morvik-cli.1)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND sh -c "${MORVIK_GZIP} -9n -c '${MORVIK_PACKAGING_DIR}/${page}' > '${CMAKE_BINARY_DIR}/man/${page}.gz'"
                       DEPENDS ${MORVIK_PACKAGING_DIR}/${page} VERBATIM)
    list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/${page}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Morvik maintainers <morvik@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mortar compressive strength by the penetration method")
set(CPACK_PACKAGE_DESCRIPTION
    "The desktop program a site inspector uses to test the compressive strength of masonry and plastering mortar by the penetration method of JGJ/T 136-2017, with morvik-cli for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Neither the Qt platform plugins, nor the Chinese texts of Qt's standard buttons and
# dialogs, nor the Song-style fonts of the record sheet are linked, so the shared-library
# scan cannot find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-arphic-uming | fonts-noto-cjk")
include(CPack)
