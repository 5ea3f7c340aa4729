# What `cmake --install` puts where, and the Debian package built from it.
include(GNUInstallDirs)

install(TARGETS relcon4 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET relcon4-sim)
  install(TARGETS relcon4-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET relcon4-cli)
  install(TARGETS relcon4-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The documents keep their relative layout, so the README's links work.
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES sim/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR}/sim)
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

install(FILES data/relcon4.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/icons/relcon4.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 32 48 64 128 256)
  install(FILES data/icons/relcon4-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME relcon4.png)
endforeach()

# Manual pages: every data/man/<name>.<section>, compressed as Debian wants
# them (gzip -9n: no name or time stamp, so the package builds the same twice).
# The changelog likewise; the copyright file stays plain.
find_program(RELCON4_GZIP gzip REQUIRED)
file(GLOB RELCON4_MAN_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/man/*.[1-8])
set(RELCON4_COMPRESSED_DOCS)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
function(relcon4_gzip source target)
  add_custom_command(OUTPUT ${target}
                     COMMAND sh -c "${RELCON4_GZIP} -9nc \"$1\" > \"$2\"" gzip ${source} ${target}
                     DEPENDS ${source} VERBATIM)
  set(RELCON4_COMPRESSED_DOCS ${RELCON4_COMPRESSED_DOCS} ${target} PARENT_SCOPE)
endfunction()
foreach(page ${RELCON4_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  string(REGEX REPLACE "^.*\\.([1-8])$" "\\1" section ${name})
  relcon4_gzip(${page} ${CMAKE_BINARY_DIR}/man/${name}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
relcon4_gzip(${CMAKE_SOURCE_DIR}/data/debian/changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_target(relcon4-docs ALL DEPENDS ${RELCON4_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME relcon4)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT
    "Relcon4 maintainers <maintainers@users.noreply.c-seed-bb14a627.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Service tool for relay and drive-control units (RO-4D, RI1-R, ZI2-Z3)")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, edits and writes the configuration of RO-4D and RI1-R units and
the ZI2-Z3 bench over a serial port (RS-232, or RS-485 through a USB
adapter). Includes relcon4-cli, the same commands from a shell for batch
service without a display, and relcon4-sim, a simulated unit on a
pseudo-terminal for training without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the Qt libraries (libqt6gui6 also carries the xcb
# platform plugin); the DejaVu fonts carry the Cyrillic glyphs of the interface,
# Qt's Russian translation the texts of its own dialogs, and Qt's SQLite
# driver the service archive (a plug-in, which dpkg-shlibdeps cannot see).
# The PostgreSQL driver is needed only to push to a shared archive.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, qt6-translations-l10n, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "desktop-file-utils")
include(CPack)
