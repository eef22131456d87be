# The installed layout and the Debian package.
#
# The programs and what the portable folder keeps beside them go to
# /usr/lib/cps530/ in the portable folder's own layout (V200/ with the programs,
# the texts and pictures; Version.ini and language/mysetup.ini in the base
# folder), so that the hand-over to another program version finds
# /usr/lib/cps530/<version>/ as it finds <base>/<version>/. /usr/bin holds
# links to the programs. The base folder carries the mark of an installation
# for the whole system: every user, root too, keeps his files in his own folders.

set(CPS_INSTALL_BASE "lib/cps530")
set(CPS_INSTALL_PROGRAM "${CPS_INSTALL_BASE}/V200")
set(CPS_PROGRAMS cps530 cps530-cli cps530-radiosim)

# Where the AppStream data points; one place to change it.
set(CPS_APPSTREAM_ID "org.example.cps530" CACHE STRING "AppStream component id (reverse DNS)")
set(CPS_HOMEPAGE_URL "https://cps530.example.org" CACHE STRING "The project's home page")
set(CPS_SCREENSHOT_URL "${CPS_HOMEPAGE_URL}/screenshots" CACHE STRING
    "Where the screenshots of docs/screenshots/ are published")
set(CPS_RELEASE_DATE "2026-12-11")

install(TARGETS ${CPS_PROGRAMS} RUNTIME DESTINATION "${CPS_INSTALL_PROGRAM}")
install(FILES "${CPS_DATA_DIR}/language/english.ini" "${CPS_DATA_DIR}/language/chinese.ini"
        DESTINATION "${CPS_INSTALL_PROGRAM}/language")
install(FILES "${CPS_DATA_DIR}/PIC/BK_1.jpg" "${CPS_DATA_DIR}/PIC/BK_2.jpg"
        DESTINATION "${CPS_INSTALL_PROGRAM}/PIC")
if(EXISTS "${CPS_DATA_DIR}/Init")
  install(DIRECTORY "${CPS_DATA_DIR}/Init/" DESTINATION "${CPS_INSTALL_PROGRAM}/Init")
endif()
install(FILES "${CPS_DATA_DIR}/Version.ini" DESTINATION "${CPS_INSTALL_BASE}")
install(FILES "${CPS_DATA_DIR}/language/mysetup.ini" DESTINATION "${CPS_INSTALL_BASE}/language")

set(CPS_PACKAGING_DIR "${CMAKE_BINARY_DIR}/packaging")
file(WRITE "${CPS_PACKAGING_DIR}/per-user-settings"
     "This installation of cps530 is shared by every user of the system. It is only read:\n"
     "each user's settings are kept in $XDG_CONFIG_HOME/cps530 (~/.config/cps530),\n"
     "the radio backups in $XDG_DATA_HOME/cps530 (~/.local/share/cps530).\n")
install(FILES "${CPS_PACKAGING_DIR}/per-user-settings" DESTINATION "${CPS_INSTALL_BASE}")

# Relative links, so that a staging folder (DESTDIR) works as the real one.
file(MAKE_DIRECTORY "${CPS_PACKAGING_DIR}/bin" "${CPS_PACKAGING_DIR}/control")
foreach(program IN LISTS CPS_PROGRAMS)
  file(CREATE_LINK "../${CPS_INSTALL_PROGRAM}/${program}" "${CPS_PACKAGING_DIR}/bin/${program}"
       SYMBOLIC)
  install(FILES "${CPS_PACKAGING_DIR}/bin/${program}" DESTINATION bin)
endforeach()

# Desktop integration.
install(FILES "${CPS_DATA_DIR}/desktop/cps530.desktop" DESTINATION share/applications)
configure_file("${CPS_DATA_DIR}/desktop/metainfo.xml.in"
               "${CPS_PACKAGING_DIR}/${CPS_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${CPS_PACKAGING_DIR}/${CPS_APPSTREAM_ID}.metainfo.xml" DESTINATION share/metainfo)
install(DIRECTORY "${CPS_DATA_DIR}/desktop/icons/" DESTINATION share/icons)
install(FILES "${PROJECT_SOURCE_DIR}/src/gui/resources/icons/app.svg"
        DESTINATION share/icons/hicolor/scalable/apps RENAME cps530.svg)
install(FILES "${CPS_DATA_DIR}/udev/70-cps530-programming-cables.rules"
        DESTINATION lib/udev/rules.d)

# The bash completion of cps530-cli, made from its own --help.
set(CPS_COMPLETION "${CPS_PACKAGING_DIR}/cps530-cli.bash")
add_custom_command(
  OUTPUT "${CPS_COMPLETION}"
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:cps530-cli>
          -DTEMPLATE=${CPS_DATA_DIR}/completion/cps530-cli.bash.in -DOUTPUT=${CPS_COMPLETION}
          -P "${PROJECT_SOURCE_DIR}/cmake/bash_completion.cmake"
  DEPENDS cps530-cli cps_dist_data "${CPS_DATA_DIR}/completion/cps530-cli.bash.in"
          "${PROJECT_SOURCE_DIR}/cmake/bash_completion.cmake"
  COMMENT "Bash completion of cps530-cli"
  VERBATIM)
add_custom_target(cps_completion ALL DEPENDS "${CPS_COMPLETION}")
install(FILES "${CPS_COMPLETION}" DESTINATION share/bash-completion/completions
        RENAME cps530-cli)

# Manual pages from each program's own --help, when help2man is there (the
# package build always has it; a plain build does not need it).
find_program(CPS_HELP2MAN help2man)
find_program(CPS_GZIP gzip)
if(CPS_HELP2MAN AND CPS_GZIP)
  set(CPS_MAN_cps530 "programming software for TW530 and TW530G radios")
  set(CPS_MAN_cps530-cli "TW530 and TW530G data files and radios from a terminal")
  set(CPS_MAN_cps530-radiosim "a virtual TW530/TW530G radio on a pseudo-terminal")
  set(pages "")
  foreach(program IN LISTS CPS_PROGRAMS)
    set(page "${CPS_PACKAGING_DIR}/man/${program}.1")
    add_custom_command(
      OUTPUT "${page}.gz"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CPS_PACKAGING_DIR}/man"
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen SOURCE_DATE_EPOCH=1796947200
              ${CPS_HELP2MAN} --no-info --no-discard-stderr --name=${CPS_MAN_${program}}
              --include=${CPS_DATA_DIR}/man/files.h2m --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${CPS_GZIP} -9nf "${page}"
      DEPENDS ${program} cps_dist_data "${CPS_DATA_DIR}/man/files.h2m"
      COMMENT "Manual page of ${program}"
      VERBATIM)
    list(APPEND pages "${page}.gz")
  endforeach()
  add_custom_target(cps_man_pages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION share/man/man1)
else()
  message(STATUS "help2man or gzip not found: no manual pages (scripts/setup installs help2man)")
endif()

# The Debian package: dependencies from the binaries (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cps530)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "The cps530 developers <cps530@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for TW530 and TW530G handheld radios")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads a TW530 or TW530G radio's configuration over the programming cable, edits it "
    "(channels, tones, scan, DTMF, keys, alert, message), keeps it in data files and writes "
    "it back. With a command-line tool for the same documents and radios and a virtual "
    "radio for trying the software without one.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Chinese texts need CJK glyphs, Qt's own buttons in Chinese its translations, a
# Wayland desktop its platform plugin (without it the program runs through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-zenhei, qt6-translations-l10n, qt6-wayland")
set(CPACK_STRIP_FILES ON)
# The toolbar and window icons are SVG, drawn by Qt's SVG image plugin, which
# the program loads at run time: no binary links it, so dpkg-shlibdeps cannot
# see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# No maintainer scripts: udev notices a new rules file by itself (a cable
# plugged in after the installation is ignored by ModemManager), and a package
# without them leaves nothing behind when it is removed.
include(CPack)
