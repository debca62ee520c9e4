# The Debian package: `cpack -G DEB` in a build folder makes seabattle_<version>_amd64.deb of
# what `cmake --install` installs under /usr. The shared libraries the game links come from
# dpkg-shlibdeps; what it opens at run time (SDL2_mixer with SDL2 and FluidSynth, loaded with
# dlopen when the sound starts, the SoundFont, the fonts its window names, Qt's SQLite driver and Russian
# translations) is named here, as no library dependency shows it.

# The files Debian asks of every package, and a manual page for the launcher, compressed the
# way lintian wants them.
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog
               @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/seabattle.6 ${CMAKE_BINARY_DIR}/packaging/seabattle.6
               @ONLY)
foreach(file changelog seabattle.6)
    execute_process(COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/packaging/${file} RESULT_VARIABLE status)
    if(status)
        message(FATAL_ERROR "gzip could not compress packaging/${file}")
    endif()
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/seabattle)
install(FILES ${CMAKE_BINARY_DIR}/packaging/seabattle.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME seabattle)
set(CPACK_PACKAGE_VENDOR "Sea Battle developers")
set(CPACK_PACKAGE_CONTACT "Sea Battle developers <seabattle@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "naval battle game for one player against the computer")
# CPack puts the summary above this as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Each side has a field of 10 x 10 cells and ten straight ships that may not
touch. Lay out your fleet by hand or at random, choose one of three levels and
fire at the computer's field; whoever first sinks the other fleet wins. Every
finished game is kept in a table of results. The texts of the game are Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/SeaBattleDebianLayout.cmake)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-mixer-2.0-0, libsdl2-2.0-0, libfluidsynth3, fluid-soundfont-gm, fonts-liberation2, libqt6sql6-sqlite, qt6-translations-l10n")
# Qt picks its Wayland platform on a Wayland desktop when it is there, X11 otherwise.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
