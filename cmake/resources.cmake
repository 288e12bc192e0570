# The resource script, compiled once and linked into the program and every test executable.

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(OVELO_MANIFEST_ARCH amd64)
else()
    set(OVELO_MANIFEST_ARCH X86)
endif()
configure_file(res/ovelo.manifest.in res/ovelo.manifest @ONLY)
# Included as "res/version.h" by the resources and the tests.
configure_file(res/version.h.in generated/res/version.h @ONLY)

file(GLOB ARTWORK CONFIGURE_DEPENDS res/*.ico res/*.bmp)
set_source_files_properties(res/ovelo.rc PROPERTIES OBJECT_DEPENDS
    "${ARTWORK};${PROJECT_BINARY_DIR}/res/ovelo.manifest;${PROJECT_SOURCE_DIR}/res/resource.h;${PROJECT_BINARY_DIR}/generated/res/version.h")

# An object library: a static archive would drop the resource object, as nothing refers to it.
add_library(resources OBJECT res/ovelo.rc)
# windres looks up the files named in the script on the include path.
target_include_directories(resources PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated res
                           ${PROJECT_BINARY_DIR}/res)
