# Installation of the game's folder: the executable with its media files side by side
# (the game reads them from its own folder), and a launcher in bin/ that starts it.
# The root CMakeLists.txt installs the executable itself into SEABATTLE_INSTALL_GAMEDIR.

set(SEABATTLE_INSTALL_GAMEDIR "lib/seabattle" CACHE STRING
    "Folder of the executable and its media, relative to the installation prefix")

# The media list is kept once, in media/CMakeLists.txt; the files come from the source tree.
get_directory_property(seabattle_media_files DIRECTORY ${CMAKE_SOURCE_DIR}/media
                       DEFINITION SEABATTLE_MEDIA_FILES)
if(NOT seabattle_media_files)
    message(FATAL_ERROR "media/CMakeLists.txt no longer names the media files (SEABATTLE_MEDIA_FILES)")
endif()
list(TRANSFORM seabattle_media_files PREPEND ${CMAKE_SOURCE_DIR}/media/)
install(FILES ${seabattle_media_files} DESTINATION ${SEABATTLE_INSTALL_GAMEDIR})
# The tune's renderer, which the game starts from its own folder.
install(TARGETS seabattle-tune RUNTIME DESTINATION ${SEABATTLE_INSTALL_GAMEDIR})

# The launcher finds the game folder relative to itself, so that any prefix works, and a
# prefix moved as a whole (or staged with DESTDIR) still does.
if(IS_ABSOLUTE "${SEABATTLE_INSTALL_GAMEDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(SEABATTLE_LAUNCHER_TARGET "${SEABATTLE_INSTALL_GAMEDIR}/seabattle")
    if(NOT IS_ABSOLUTE "${SEABATTLE_INSTALL_GAMEDIR}")
        set(SEABATTLE_LAUNCHER_TARGET "${CMAKE_INSTALL_PREFIX}/${SEABATTLE_LAUNCHER_TARGET}")
    endif()
else()
    file(RELATIVE_PATH seabattle_bin_to_game /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${SEABATTLE_INSTALL_GAMEDIR})
    set(SEABATTLE_LAUNCHER_TARGET "\$here/${seabattle_bin_to_game}/seabattle")
endif()
configure_file(${CMAKE_SOURCE_DIR}/desktop/seabattle.sh.in
               ${CMAKE_BINARY_DIR}/launcher/seabattle @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/seabattle DESTINATION ${CMAKE_INSTALL_BINDIR})

# The game links its own code statically and Qt from the system: an installed copy needs no
# run-time search path of its own.
set_property(TARGET seabattle seabattle-tune PROPERTY INSTALL_RPATH "")
