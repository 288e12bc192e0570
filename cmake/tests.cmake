# Test executables: one per folder tests/<name>/ with .cpp (and any .rc) files, named
# <name>_tests.
# The tests run only where the toolchain names an emulator (Wine, for x86_64); elsewhere
# they are still built. A folder with a ctest.cmake registers its own entries: that file
# sees test_name and test_target.

file(GLOB TEST_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*)
foreach(dir IN LISTS TEST_DIRS)
    get_filename_component(test_name ${dir} NAME)
    file(GLOB test_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT IS_DIRECTORY ${dir} OR test_name STREQUAL "e2e" OR NOT test_sources)
        continue()
    endif()
    # Resources of the test's own (bitmaps, menus) come beside the program's.
    file(GLOB test_resources CONFIGURE_DEPENDS ${dir}/*.rc)
    set(test_target ${test_name}_tests)
    add_executable(${test_target} ${test_sources} ${test_resources})
    target_link_libraries(${test_target} PRIVATE app resources gmock gtest_main)
    target_include_directories(${test_target} PRIVATE ${PROJECT_SOURCE_DIR}
                               ${PROJECT_BINARY_DIR}/generated)
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        continue()
    endif()
    if(EXISTS ${dir}/ctest.cmake)
        include(${dir}/ctest.cmake)
    else()
        add_test(NAME ${test_name} COMMAND ${test_target})
    endif()
endforeach()

# End-to-end: a console probe drives the real program; run.sh starts both under Wine itself.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp
     ${PROJECT_SOURCE_DIR}/tests/e2e/*.rc)
if(E2E_SOURCES)
    add_executable(e2e_probe ${E2E_SOURCES})
    set_source_files_properties(${PROJECT_SOURCE_DIR}/tests/e2e/Probe.rc PROPERTIES OBJECT_DEPENDS
        ${PROJECT_SOURCE_DIR}/tests/e2e/probe.manifest)
    target_include_directories(e2e_probe PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e)
    target_link_libraries(e2e_probe PRIVATE win32)
    target_include_directories(e2e_probe PRIVATE ${PROJECT_SOURCE_DIR}
                               ${PROJECT_BINARY_DIR}/generated)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        add_test(NAME e2e COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/run.sh
                 $<TARGET_FILE:OveloPlaylist> $<TARGET_FILE:e2e_probe> $<TARGET_FILE:hotplug>)
        # Its hot-plug steps unmap the prefix's removable drives for a while.
        set_tests_properties(e2e PROPERTIES RUN_SERIAL TRUE)
        # The steps that check what arrives on the drive, with E: on a real FAT32 and a real
        # exFAT volume (tools/test-volume.sh), skipped where none can be made; their
        # screenshots apart, and never the README's.
        foreach(kind fat32 exfat)
            add_test(NAME e2e_${kind}
                     COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-volume.sh run ${kind} 256M E
                             bash ${PROJECT_SOURCE_DIR}/tests/e2e/run.sh
                             $<TARGET_FILE:OveloPlaylist> $<TARGET_FILE:e2e_probe>
                             $<TARGET_FILE:hotplug> 30-add-and-copy 35-names 40-drops 70-session)
            set_tests_properties(e2e_${kind} PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                                 ENVIRONMENT "E2E_SHOTS=${PROJECT_BINARY_DIR}/e2e-${kind};UPDATE_SCREENSHOT=0")
        endforeach()
        file(GLOB E2E_VOLUME_STEPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/steps/volumes/*.sh)
        set(volume_steps)
        foreach(step IN LISTS E2E_VOLUME_STEPS)
            get_filename_component(step ${step} NAME_WE)
            list(APPEND volume_steps volumes/${step})
        endforeach()
        # And the steps that make volumes of their own as E: (tests/e2e/steps/volumes/).
        add_test(NAME e2e_volumes COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/run.sh
                 $<TARGET_FILE:OveloPlaylist> $<TARGET_FILE:e2e_probe> $<TARGET_FILE:hotplug>
                 ${volume_steps})
        set_tests_properties(e2e_volumes PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
    endif()
endif()

# The linked resources against the program's resource tables; needs no emulator.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME resources COMMAND ${Python3_EXECUTABLE}
         ${PROJECT_SOURCE_DIR}/tools/check-resources.py $<TARGET_FILE:OveloPlaylist>)
