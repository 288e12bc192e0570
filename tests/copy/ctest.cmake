# The copy tests run with drive G: on a 1 MiB tmpfs where the host lets us mount one, so that
# a copy can fill a device; with-small-device.sh tells the tests why when it cannot.
add_test(NAME ${test_name}
         COMMAND bash ${dir}/with-small-device.sh
                 ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>)
set_tests_properties(${test_name} PROPERTIES RUN_SERIAL TRUE)

# The same with E: on a real FAT32 and a real exFAT volume (tools/test-volume.sh), skipped
# where none can be made. 256 MiB: FAT32 has 512-byte clusters there, for which its driver
# reports 0 bytes of 0.
foreach(kind fat32 exfat)
    add_test(NAME ${test_name}_${kind}
             COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-volume.sh run ${kind} 256M E
                     bash ${dir}/with-small-device.sh
                     ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>)
    set_tests_properties(${test_name}_${kind} PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
endforeach()

# The check with E: on a card that claims twice the space it stores (tools/fake-card.py).
add_test(NAME ${test_name}_fakecard
         COMMAND bash ${PROJECT_SOURCE_DIR}/tools/test-volume.sh run fakecard 32M E
                 ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>
                 --gtest_filter=FakeCard.*)
set_tests_properties(${test_name}_fakecard PROPERTIES RUN_SERIAL TRUE SKIP_RETURN_CODE 77
                     ENVIRONMENT OVELO_FAKE_CARD=E:)
