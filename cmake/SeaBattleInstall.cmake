# Installation in the places Debian gives a game, under any prefix:
#   games/seabattle                   the program, on every player's PATH
#   share/games/seabattle/            its pictures, cursor and sounds
#   lib/games/seabattle/              its private helper, the tune's renderer
#   share/man/man6/, share/applications/, share/metainfo/, share/icons/
# The game finds the media and the helper relative to its own folder
# (src/files/files/installfolder.cpp), so a prefix moved as a whole, or staged with DESTDIR,
# still works. Nothing under the prefix
# is written at run time: the results live in each player's data folder.

set(SEABATTLE_INSTALL_PROGRAMDIR games)
set(SEABATTLE_INSTALL_MEDIADIR ${CMAKE_INSTALL_DATADIR}/games/seabattle)
# Not CMAKE_INSTALL_LIBDIR, which Debian makes a multiarch folder of shared libraries.
set(SEABATTLE_INSTALL_HELPERDIR lib/games/seabattle)

foreach(dir MEDIADIR HELPERDIR)
    if(IS_ABSOLUTE "${SEABATTLE_INSTALL_${dir}}")
        message(FATAL_ERROR "SEABATTLE_INSTALL_${dir} must lie under the prefix, the game "
                            "finds it relative to itself")
    endif()
    file(RELATIVE_PATH seabattle_from_program_${dir} /prefix/${SEABATTLE_INSTALL_PROGRAMDIR}
         /prefix/${SEABATTLE_INSTALL_${dir}})
endforeach()
target_compile_definitions(seabattle_files PRIVATE
    SEABATTLE_MEDIA_FROM_PROGRAM="${seabattle_from_program_MEDIADIR}"
    SEABATTLE_HELPERS_FROM_PROGRAM="${seabattle_from_program_HELPERDIR}")

install(TARGETS seabattle RUNTIME DESTINATION ${SEABATTLE_INSTALL_PROGRAMDIR})
install(TARGETS seabattle-tune RUNTIME DESTINATION ${SEABATTLE_INSTALL_HELPERDIR})

# The media list is kept once, in media/CMakeLists.txt; the files come from the source tree.
get_directory_property(seabattle_media_files DIRECTORY ${CMAKE_SOURCE_DIR}/media
                       DEFINITION SEABATTLE_MEDIA_FILES)
if(NOT seabattle_media_files)
    message(FATAL_ERROR "media/CMakeLists.txt no longer names the media files (SEABATTLE_MEDIA_FILES)")
endif()
list(TRANSFORM seabattle_media_files PREPEND ${CMAKE_SOURCE_DIR}/media/)
install(FILES ${seabattle_media_files} DESTINATION ${SEABATTLE_INSTALL_MEDIADIR})

configure_file(${CMAKE_SOURCE_DIR}/packaging/seabattle.6 ${CMAKE_BINARY_DIR}/packaging/seabattle.6
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/seabattle.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The game links its own code statically and Qt from the system: an installed copy needs no
# run-time search path of its own.
set_property(TARGET seabattle seabattle-tune PROPERTY INSTALL_RPATH "")
