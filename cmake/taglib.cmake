# TagLib 1.13 from Debian's source package with our bounds on nesting (tools/fetch-taglib.sh,
# shared by the build folders), built with this build's toolchain as a static library, once per build folder: its steps are
# stamped, and a rebuild of the program leaves it alone. Tests, bindings, examples and zlib
# (only for compressed ID3v2 frames, which tag editors do not write) stay off.
# Gives the imported target `taglib`, which only the tags layer links.
include(ExternalProject)

set(TAGLIB_FETCHED ${PROJECT_SOURCE_DIR}/build/taglib)
set(TAGLIB_ROOT ${PROJECT_BINARY_DIR}/taglib)
set(TAGLIB_INSTALL ${TAGLIB_ROOT}/install)

# Debian's patches make TagLib include utf8-cpp from the system as <utf8/checked.h>; the copy
# in its own 3rdparty folder serves under that name (the link waits for the fetch).
file(MAKE_DIRECTORY ${TAGLIB_ROOT}/utf8cpp ${TAGLIB_INSTALL}/include/taglib)
if(NOT IS_SYMLINK ${TAGLIB_ROOT}/utf8cpp/utf8)
    file(CREATE_LINK ${TAGLIB_FETCHED}/source/3rdparty/utf8-cpp ${TAGLIB_ROOT}/utf8cpp/utf8
         SYMBOLIC)
endif()

set(TAGLIB_LIBRARY ${TAGLIB_INSTALL}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}tag${CMAKE_STATIC_LIBRARY_SUFFIX})
ExternalProject_Add(taglib_build
    PREFIX ${TAGLIB_ROOT}
    SOURCE_DIR ${TAGLIB_FETCHED}/source
    INSTALL_DIR ${TAGLIB_INSTALL}
    DOWNLOAD_COMMAND ${PROJECT_SOURCE_DIR}/tools/fetch-taglib.sh ${TAGLIB_FETCHED}
    UPDATE_COMMAND ""
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/toolchain-${CMAKE_SYSTEM_PROCESSOR}.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_CXX_FLAGS=-I${TAGLIB_ROOT}/utf8cpp
        -DBUILD_SHARED_LIBS=OFF
        -DBUILD_TESTING=OFF
        -DBUILD_BINDINGS=OFF
        -DBUILD_EXAMPLES=OFF
        -DWITH_ZLIB=OFF
    BUILD_BYPRODUCTS ${TAGLIB_LIBRARY})
# A changed patch fetches and builds it again.
file(GLOB TAGLIB_PATCHES ${CMAKE_CURRENT_LIST_DIR}/taglib-*.patch)
ExternalProject_Add_StepDependencies(taglib_build download ${TAGLIB_PATCHES}
                                     ${PROJECT_SOURCE_DIR}/tools/fetch-taglib.sh)

add_library(taglib STATIC IMPORTED GLOBAL)
set_target_properties(taglib PROPERTIES
    IMPORTED_LOCATION ${TAGLIB_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${TAGLIB_INSTALL}/include/taglib
    INTERFACE_COMPILE_DEFINITIONS TAGLIB_STATIC)
add_dependencies(taglib taglib_build)
