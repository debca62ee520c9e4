# Run by cpack between staging the installation and building the Debian package: Debian keeps
# the programs of its games section in /usr/games (on every user's PATH), so the launcher moves
# there from bin/. It finds the game's folder relative to itself, ../lib/seabattle from either.
file(GLOB staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(root IN ITEMS ${CPACK_TEMPORARY_INSTALL_DIRECTORY} ${staged})
    set(prefix "${root}${CPACK_PACKAGING_INSTALL_PREFIX}")
    if(EXISTS "${prefix}/bin/seabattle")
        file(MAKE_DIRECTORY "${prefix}/games")
        file(RENAME "${prefix}/bin/seabattle" "${prefix}/games/seabattle")
        file(GLOB left "${prefix}/bin/*")
        if(NOT left)
            file(REMOVE_RECURSE "${prefix}/bin")
        endif()
        return()
    endif()
endforeach()
message(FATAL_ERROR "no launcher bin/seabattle in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
