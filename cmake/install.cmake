# Installation: the programs, desktop integration, man pages, completion,
# examples and the manual, laid out as the file system hierarchy expects.
include(GNUInstallDirs)
set(QUORIX_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quorix)  # not GNUInstallDirs' capitalised share/doc/Quorix
set(QUORIX_APP_ID org.quorix.Quorix)
set(QUORIX_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(QUORIX_ICON_SIZES 16 32 48 64 128 256)

install(TARGETS quorix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET quorix)
  install(TARGETS quorix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The window icon comes from the same pictures as the menu's icon.
  find_package(Qt6 REQUIRED COMPONENTS Core)
  set(QUORIX_ICON_FILES)
  foreach(size IN LISTS QUORIX_ICON_SIZES)
    list(APPEND QUORIX_ICON_FILES ${QUORIX_PACKAGING}/icons/hicolor/${size}x${size}/apps/${QUORIX_APP_ID}.png)
  endforeach()
  qt_add_resources(quorix quorix_icons PREFIX /quorix BASE ${QUORIX_PACKAGING}/icons FILES ${QUORIX_ICON_FILES})

  install(FILES ${QUORIX_PACKAGING}/${QUORIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QUORIX_PACKAGING}/icons/${QUORIX_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS QUORIX_ICON_SIZES)
    install(FILES ${QUORIX_PACKAGING}/icons/hicolor/${size}x${size}/apps/${QUORIX_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  configure_file(${QUORIX_PACKAGING}/${QUORIX_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/packaging/${QUORIX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUORIX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${QUORIX_PACKAGING}/quorix-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME quorix.xml)
endif()

# Man pages carry the version; Debian installs them compressed.
find_program(QUORIX_GZIP gzip REQUIRED)
set(QUORIX_MAN_PAGES)
foreach(page quorix quorix-cli)
  if(page STREQUAL "quorix" AND NOT TARGET quorix)
    continue()
  endif()
  configure_file(${QUORIX_PACKAGING}/${page}.1.in ${PROJECT_BINARY_DIR}/packaging/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${page}.1.gz
                     COMMAND ${QUORIX_GZIP} -9nc ${page}.1 > ${page}.1.gz
                     DEPENDS ${PROJECT_BINARY_DIR}/packaging/${page}.1
                     WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging VERBATIM)
  list(APPEND QUORIX_MAN_PAGES ${PROJECT_BINARY_DIR}/packaging/${page}.1.gz)
endforeach()
add_custom_target(quorix_man_pages ALL DEPENDS ${QUORIX_MAN_PAGES})
install(FILES ${QUORIX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${QUORIX_PACKAGING}/quorix-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quorix-cli)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${QUORIX_DOCDIR}/examples)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/ DESTINATION ${QUORIX_DOCDIR}/manual)
install(FILES ${QUORIX_PACKAGING}/copyright ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${QUORIX_DOCDIR})

if(QUORIX_BUILD_TESTS)
  # The version and usage texts, and the desktop files checked by the
  # freedesktop tools where they are installed.
  add_test(NAME install.cli_version COMMAND quorix-cli --version)
  set_tests_properties(install.cli_version PROPERTIES PASS_REGULAR_EXPRESSION "^quorix-cli ${PROJECT_VERSION}\n$")
  if(TARGET quorix)
    add_test(NAME install.gui_version COMMAND quorix --version)
    set_tests_properties(install.gui_version PROPERTIES PASS_REGULAR_EXPRESSION "^quorix ${PROJECT_VERSION}\n$")
    add_test(NAME install.gui_help COMMAND quorix --help)
    set_tests_properties(install.gui_help PROPERTIES PASS_REGULAR_EXPRESSION "\\[DATA \\[GRID\\]\\]")
    find_program(QUORIX_DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(QUORIX_DESKTOP_FILE_VALIDATE)
      add_test(NAME install.desktop_file
               COMMAND ${QUORIX_DESKTOP_FILE_VALIDATE} --no-hints ${QUORIX_PACKAGING}/${QUORIX_APP_ID}.desktop)
    endif()
    find_program(QUORIX_APPSTREAMCLI appstreamcli)
    if(QUORIX_APPSTREAMCLI)
      add_test(NAME install.metainfo
               COMMAND ${QUORIX_APPSTREAMCLI} validate --no-net
                       ${PROJECT_BINARY_DIR}/packaging/${QUORIX_APP_ID}.metainfo.xml)
    endif()
  endif()
endif()

# The manual's pictures, taken by the program on a virtual screen (xvfb-run).
if(TARGET quorix)
  add_custom_target(docs
    COMMAND sh ${PROJECT_SOURCE_DIR}/tools/manual_screenshots.sh $<TARGET_FILE:quorix> ${PROJECT_SOURCE_DIR}/docs/manual/images
    DEPENDS quorix
    COMMENT "Taking the pictures of the user manual"
    VERBATIM)
endif()
