# Qt's headers are most of what a file of this project costs to compile. seabattle_precompile_qt()
# compiles the Qt headers the project uses once for each group of targets that can share them,
# and every library, program and test of the group uses them: called once, at the end of the
# top-level CMakeLists.txt, it finds the targets itself.
#
# A group is the targets of one folder, of one kind (library or program), reaching the same Qt
# modules and compiled with the same definitions and options: GCC uses a precompiled header only
# where the macros it was made with are the same (Qt's tests get their folder's name as one), and
# -Winvalid-pch says where one was left unused.

set(SEABATTLE_PCH_Core <QByteArray> <QCoreApplication> <QDir> <QElapsedTimer> <QFile>
    <QFileInfo> <QList> <QLoggingCategory> <QObject> <QProcess> <QSet> <QStandardPaths>
    <QString> <QStringList> <QTemporaryDir> <QTimer> <QtEndian> <QtGlobal>)
set(SEABATTLE_PCH_Gui <QColor> <QGuiApplication> <QImage> <QKeyEvent> <QMouseEvent>
    <QPainter> <QPainterPath> <QPixmap>)
set(SEABATTLE_PCH_Widgets <QApplication> <QCheckBox> <QLabel> <QMessageBox> <QPushButton>
    <QRadioButton> <QWidget>)
set(SEABATTLE_PCH_Sql <QSqlDatabase> <QSqlError> <QSqlQuery>)
set(SEABATTLE_PCH_Test <QTest>)

# The Qt modules a target reaches through the libraries it links for their headers.
function(seabattle_qt_modules_of target out)
    set(seen)
    set(modules)
    get_target_property(queue ${target} LINK_LIBRARIES)
    while(queue)
        list(POP_FRONT queue item)
        if(NOT TARGET "${item}" OR item IN_LIST seen)
            continue() # a plain library, a generator expression such as $<LINK_ONLY:...>
        endif()
        list(APPEND seen ${item})
        get_target_property(aliased ${item} ALIASED_TARGET)
        if(aliased)
            set(item ${aliased})
        endif()
        if(item MATCHES "^Qt6::(Core|Gui|Widgets|Sql|Test)$")
            list(APPEND modules ${CMAKE_MATCH_1})
        endif()
        get_target_property(next ${item} INTERFACE_LINK_LIBRARIES)
        if(next)
            list(APPEND queue ${next})
        endif()
    endwhile()
    list(REMOVE_DUPLICATES modules)
    list(SORT modules)
    set(${out} ${modules} PARENT_SCOPE)
endfunction()

function(seabattle_targets_under dir out)
    get_directory_property(targets DIRECTORY ${dir} BUILDSYSTEM_TARGETS)
    get_directory_property(subdirs DIRECTORY ${dir} SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        seabattle_targets_under(${subdir} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(seabattle_precompile_qt)
    # A unity build reads Qt's headers once a batch of files already: there a precompiled
    # header costs more than it saves (measured: a whole build 262 s without, 296 s with).
    if(SEABATTLE_NO_PCH OR CMAKE_UNITY_BUILD)
        return()
    endif()
    # The groups first, with how many files of their own each compiles.
    seabattle_targets_under(${CMAKE_SOURCE_DIR} targets)
    set(groups)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        seabattle_qt_modules_of(${target} modules)
        if(NOT modules)
            continue()
        endif()
        get_target_property(dir ${target} SOURCE_DIR)
        get_target_property(definitions ${target} COMPILE_DEFINITIONS)
        get_target_property(options ${target} COMPILE_OPTIONS)
        string(MD5 group "${dir}|${type}|${modules}|${definitions}|${options}")
        get_target_property(sources ${target} SOURCES)
        list(FILTER sources INCLUDE REGEX "\\.cpp$")
        list(LENGTH sources count)
        if(NOT DEFINED files_${group})
            set(files_${group} 0)
            set(modules_${group} ${modules})
            list(APPEND groups ${group})
        endif()
        math(EXPR files_${group} "${files_${group}} + ${count}")
        list(APPEND members_${group} ${target})
    endforeach()
    # A header compiled in advance costs about what two files including it do: it pays where
    # a group compiles more files than that.
    foreach(group IN LISTS groups)
        if(files_${group} LESS 3)
            continue()
        endif()
        set(headers)
        foreach(module IN LISTS modules_${group})
            list(APPEND headers ${SEABATTLE_PCH_${module}})
        endforeach()
        list(POP_FRONT members_${group} host)
        target_precompile_headers(${host} PRIVATE ${headers})
        target_compile_options(${host} PRIVATE -Winvalid-pch)
        foreach(target IN LISTS members_${group})
            target_precompile_headers(${target} REUSE_FROM ${host})
            target_compile_options(${target} PRIVATE -Winvalid-pch)
        endforeach()
    endforeach()
endfunction()
