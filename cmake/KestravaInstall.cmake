# Installation and the Debian package.
#
#   <prefix>/bin                      kestrava, kestrava-cli, kestrava-sim
#   <prefix>/share/kestrava/lang      the language files (the program looks there when it runs
#                                     from <prefix>/bin and finds no "lang" folder of its own)
#   <prefix>/share/applications       kestrava.desktop
#   <prefix>/share/icons/hicolor      the icon at 64 and 256 pixels
#
#   cmake --preset release && cmake --build --preset release
#   (cd build/release && cpack -G DEB)   ->  build/release/kestrava_<version>_<arch>.deb
#
# On Windows the packages are made by scripts/package-windows.sh (an NSIS installer and a zip):
# there everything lies in one folder, the programs with the DLLs they load and lang\ beside them.
if(WIN32)
    set(_kestrava_programs kestrava-cli)
    if(TARGET kestrava)
        list(PREPEND _kestrava_programs kestrava)
    endif()
    install(TARGETS ${_kestrava_programs} RUNTIME DESTINATION .)
    install(FILES ${PROJECT_SOURCE_DIR}/lang/chinese.lang ${PROJECT_SOURCE_DIR}/lang/english.lang
            DESTINATION lang)
    return()
endif()

include(GNUInstallDirs)

set(_kestrava_programs kestrava-cli kestrava-sim)
if(TARGET kestrava)
    list(PREPEND _kestrava_programs kestrava)
endif()
install(TARGETS ${_kestrava_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/lang/chinese.lang ${PROJECT_SOURCE_DIR}/lang/english.lang
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrava/lang)
install(FILES ${PROJECT_SOURCE_DIR}/dist/kestrava.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/resources/kestrava.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/resources/kestrava-64.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME kestrava.png)

set(CPACK_PACKAGE_NAME kestrava)
set(CPACK_PACKAGE_VENDOR "Kestrava")
set(CPACK_PACKAGE_CONTACT "Kestrava developers <kestrava@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION "Kestrava reads and sets a GNSS survey receiver's identity, \
network/NTRIP link, UHF radio, static recording and files, voice, modem band, NMEA output, \
passwords and firmware over its serial line. It comes with kestrava-cli (the same work from a \
terminal) and kestrava-sim (a receiver emulator on a pseudo-terminal).")
set(CPACK_STRIP_FILES ON)
# Chinese texts need a font with CJK glyphs; the interface font defaults to Arial's metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-droid-fallback | fonts-noto-cjk")
include(CPack)
