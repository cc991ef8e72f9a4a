# What `cmake --install` adds beyond the targets and their data: the desktop
# entry, the book file type, the AppStream description, the manual pages and
# the Debian package's documents; and the Debian package itself (`cpack`,
# or `make package` from the top folder).

# What is installed into the private library folder finds its neighbours
# there; the programs in bin find them through CMAKE_INSTALL_RPATH.
foreach(target aidkern pixmill style Idiomres ${PIXMILL_CODECS} aktool versaleo-chm versaleo-pdftext)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "\$ORIGIN")
endforeach()

# The Chinese interface module holds only data and Qt strings; Debian wants
# every shared object linked against the C library all the same.
target_link_options(Idiomres PRIVATE "LINKER:--no-as-needed" "-lc")

set(VERSALEO_APP_ID io.github.versaleo.Versaleo)
set(VERSALEO_MAINTAINER "Versaleo developers <maintainers@versaleo.example.org>")
set(VERSALEO_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/res/desktop)
set(VERSALEO_GENERATED ${CMAKE_BINARY_DIR}/generated)

install(FILES ${VERSALEO_DESKTOP_DIR}/${VERSALEO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VERSALEO_DESKTOP_DIR}/versaleo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${VERSALEO_DESKTOP_DIR}/${VERSALEO_APP_ID}.metainfo.xml.in
               ${VERSALEO_GENERATED}/${VERSALEO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${VERSALEO_GENERATED}/${VERSALEO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian wants them
# (gzip -n: no name or time stamp, so builds are reproducible).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(VERSALEO_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/versaleo)
set(VERSALEO_COMPRESSED)
foreach(page versaleo vltool)
  configure_file(${PROJECT_SOURCE_DIR}/res/man/${page}.1.in ${VERSALEO_GENERATED}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${VERSALEO_GENERATED}/man/${page}.1.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${VERSALEO_GENERATED}/man/${page}.1
    DEPENDS ${VERSALEO_GENERATED}/man/${page}.1 ${PROJECT_SOURCE_DIR}/res/man/${page}.1.in)
  list(APPEND VERSALEO_COMPRESSED ${VERSALEO_GENERATED}/man/${page}.1.gz)
  install(FILES ${VERSALEO_GENERATED}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${VERSALEO_GENERATED}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${VERSALEO_GENERATED}/doc/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${VERSALEO_GENERATED}/doc/changelog
  DEPENDS ${VERSALEO_GENERATED}/doc/changelog ${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in)
list(APPEND VERSALEO_COMPRESSED ${VERSALEO_GENERATED}/doc/changelog.gz)
add_custom_target(compressed_docs ALL DEPENDS ${VERSALEO_COMPRESSED})
install(FILES ${VERSALEO_GENERATED}/doc/changelog.gz ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/versaleo)

if(BUILD_TESTING)
  # The desktop files pass their validators (each skipped when absent).
  add_test(NAME desktop.EntryIsValid
    COMMAND sh -c "command -v desktop-file-validate >/dev/null || exit 77; desktop-file-validate \"$0\""
            ${VERSALEO_DESKTOP_DIR}/${VERSALEO_APP_ID}.desktop)
  add_test(NAME desktop.MetainfoIsValid
    COMMAND sh -c "command -v appstreamcli >/dev/null || exit 77; appstreamcli validate --no-net \"$0\""
            ${VERSALEO_GENERATED}/${VERSALEO_APP_ID}.metainfo.xml)
  # An install into a scratch folder runs there with a clean environment.
  add_test(NAME install.InstalledProgramsRunWithACleanEnvironment
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-install ${CMAKE_BINARY_DIR})
  set_tests_properties(desktop.EntryIsValid desktop.MetainfoIsValid PROPERTIES SKIP_RETURN_CODE 77)
  set_tests_properties(install.InstalledProgramsRunWithACleanEnvironment PROPERTIES TIMEOUT 600 RUN_SERIAL ON)
endif()

# The Debian package: `cpack -G DEB` in a build folder configured for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME versaleo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Versaleo developers")
set(CPACK_PACKAGE_CONTACT "${VERSALEO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "e-book reader and maker that shows books as paper books")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Versaleo opens plain text, web pages, compiled HTML help, PDF, EPUB and
Word documents, lays their text out into pages in a chosen font and
colours, and shows them as an open paper book with an animated page flip.

The reader annotates books with tags, highlight marks, index entries,
bookmarks and note pages, edits and rearranges pages, decorates pages and
covers with pictures and saves books as .vl files. A library of cabinets,
a lantern slide, printing, background music, search, a small web browser
and Chinese encoding conversion complete it. The vltool command makes,
inspects and pictures books without a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/versaleo/versaleo")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link shows: the fonts the layout is measured in (Arial's
# metrics, the Chinese faces), the MIDI soundfont and the office importer.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer-nogui | libreoffice-writer")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)
