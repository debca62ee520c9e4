# seabattle_library(name UNITS folder/unit... [HEADERS folder/header.h...]
#                   [PUBLIC library...] [PRIVATE library...])
# A static library of the game made of its units (each a .cpp with its .h) and lone headers,
# all in the calling folder, which is the one folder it gives for including: a file that
# includes another library's header builds only when its library links that one.
function(seabattle_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "UNITS;HEADERS;PUBLIC;PRIVATE")
    set(sources ${arg_HEADERS})
    foreach(unit IN LISTS arg_UNITS)
        list(APPEND sources ${unit}.cpp ${unit}.h)
    endforeach()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
endfunction()
