# Install rules and the Debian package. The program goes where xscreensaver
# looks for its hacks, its panel description where xscreensaver-settings
# reads them, and the settings dialog gets a desktop entry.
if(WIN32 OR NOT TARGET orinthal)
  return()
endif()

include(GNUInstallDirs)

set(ORINTHAL_HACK_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)

# The dialog's program must sit beside the saver: --configure runs it from there.
install(TARGETS orinthal orinthal-settings RUNTIME DESTINATION ${ORINTHAL_HACK_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/shell/orinthal.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${PROJECT_SOURCE_DIR}/shell/orinthal-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(document README.md CREDITS.md)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${document})
    install(FILES ${PROJECT_SOURCE_DIR}/${document} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orinthal)
  endif()
endforeach()

# The hack directory is not on PATH; a link in bin lets the desktop entry and
# users run "orinthal --configure". Relative, so it holds under any prefix and
# inside the package's staging root.
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(RELATIVE_PATH target \"/\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
       \"/\${CMAKE_INSTALL_PREFIX}/${ORINTHAL_HACK_DIR}/orinthal\")
  message(STATUS \"Installing: \${bin}/orinthal -> \${target}\")
  file(CREATE_LINK \"\${target}\" \"\${bin}/orinthal\" SYMBOLIC)
")

set(CPACK_PACKAGE_NAME orinthal)
set(CPACK_PACKAGE_VENDOR "Orinthal maintainers")
set(CPACK_PACKAGE_CONTACT "Orinthal maintainers <orinthal@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "OpenGL screen saver of flying galaxies")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the package's synopsis; these lines are its long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Three galaxies of glowing stars fly looping paths and spin in front of
astronomical photographs, with an optional line of lit 3D text wandering
among them. The program is an xscreensaver hack; its --configure option
opens a dialog for its settings.")
# The libraries the program links come from dpkg-shlibdeps; the daemon that
# runs it and the font of its text are recommended, not required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xscreensaver, fonts-comic-neue")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver-gl")

include(CPack)
