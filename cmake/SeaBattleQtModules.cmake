# Qt's targets give their modules' common folder for including, so a file that links Qt Core
# alone could still include <QtWidgets/QWidget>. seabattle_qt_modules_apart() gives each Qt
# target, in place of that folder, one of its own that holds only its module: a module-prefixed
# include then builds only where the module is linked (tests/layering tries it).
function(seabattle_qt_modules_apart)
    get_directory_property(targets IMPORTED_TARGETS)
    list(FILTER targets INCLUDE REGEX "^Qt6::")
    get_target_property(root Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    list(FILTER root EXCLUDE REGEX "/QtCore")
    foreach(target IN LISTS targets)
        get_target_property(folders ${target} INTERFACE_INCLUDE_DIRECTORIES)
        if(NOT folders OR NOT root IN_LIST folders)
            continue()
        endif()
        # The module's own folder, or Qt Core's for the targets of Qt's common settings.
        set(module QtCore)
        foreach(folder IN LISTS folders)
            if(folder MATCHES "^${root}/(Qt[A-Za-z]+)$")
                set(module ${CMAKE_MATCH_1})
            endif()
        endforeach()
        set(apart ${CMAKE_BINARY_DIR}/qt-modules/${module})
        file(MAKE_DIRECTORY ${apart})
        file(CREATE_LINK ${root}/${module} ${apart}/${module} SYMBOLIC)
        list(TRANSFORM folders REPLACE "^${root}$" "${apart}")
        set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${folders}")
    endforeach()
endfunction()
