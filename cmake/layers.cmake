# The program's layers, each a library that links only the layers beneath it and whose
# sources see only their headers: a layer's include root holds links to the folders (or
# single headers) it may use, so an include that runs upward names no file and does not build.
#   framework         the window and GDI class library
#   controls          the reusable controls, on the framework
#   import            paths to playlist rows, no window: on the framework's string
#   copy              what a copy writes onto the device, no window: the staged copy, the
#                     run's names, the plan of an update, the file system's limits, the check
#                     of copies read back, and the root put in list order
#   tags              the tags of media files, read through TagLib, which no other layer sees
#   about_box         the About box, which the window's system menu opens: the one use that
#                     runs upward, from the window to the application shell, kept to this box
#   playlist          the main window
#   app               the application object

# Makes build/layers/LAYER with links to the given source paths.
function(layer_include_root layer)
    set(root ${PROJECT_BINARY_DIR}/layers/${layer})
    foreach(path IN LISTS ARGN)
        get_filename_component(folder ${root}/${path} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        if(NOT IS_SYMLINK ${root}/${path})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
        endif()
    endforeach()
endfunction()

# layer(NAME SOURCES globs... [EXCEPT files...] SEES paths... [LINKS libraries...])
function(layer name)
    cmake_parse_arguments(LAYER "" "" "SOURCES;EXCEPT;SEES;LINKS" ${ARGN})
    list(TRANSFORM LAYER_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/)
    file(GLOB sources CONFIGURE_DEPENDS ${LAYER_SOURCES})
    list(TRANSFORM LAYER_EXCEPT PREPEND ${PROJECT_SOURCE_DIR}/)
    if(LAYER_EXCEPT)
        list(REMOVE_ITEM sources ${LAYER_EXCEPT})
    endif()
    add_library(${name} STATIC ${sources})
    layer_include_root(${name} ${LAYER_SEES})
    target_include_directories(${name} PRIVATE ${PROJECT_BINARY_DIR}/layers/${name})
    target_link_libraries(${name} PUBLIC ${LAYER_LINKS} win32)
endfunction()

# The entry point goes into each program itself: from an archive the linker would not pick it.
layer(framework SOURCES framework/*.cpp EXCEPT framework/AppMain.cpp SEES framework)

layer(controls SOURCES controls/*/*.cpp SEES framework controls LINKS framework)
layer(import SOURCES import/*.cpp SEES framework import LINKS framework)
layer(copy SOURCES copy/*.cpp SEES framework copy LINKS framework)
layer(tags SOURCES tags/*.cpp SEES framework tags LINKS framework)
target_link_libraries(tags PRIVATE taglib)
# xxHash, the digest a copy is checked against, used as one header from Debian's
# libxxhash-dev: its folder holds the host's C headers too, so the layer sees a link to it alone.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/third-party)
file(CREATE_LINK /usr/include/xxhash.h ${PROJECT_BINARY_DIR}/third-party/xxhash.h SYMBOLIC)
target_include_directories(copy SYSTEM PRIVATE ${PROJECT_BINARY_DIR}/third-party)
layer(about_box SOURCES app/AboutBox.cpp SEES framework app/AboutBox.h res LINKS framework)
layer(playlist SOURCES playlist/*.cpp
      SEES framework controls import copy tags playlist res app/AboutBox.h
      LINKS controls import copy tags about_box framework)
layer(app SOURCES app/PlaylistApp.cpp SEES framework controls tags playlist res app
      LINKS playlist)
