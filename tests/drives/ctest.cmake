# The drive tests run twice: with the test prefix's drives, and with its removable
# drives unmapped for the case of a machine without any.
add_test(NAME drives COMMAND ${test_target} --gtest_filter=-NoRemovableDrive.*)
add_test(NAME drives_none
         COMMAND bash ${PROJECT_SOURCE_DIR}/tools/without-drives.sh
                 ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>
                 --gtest_filter=NoRemovableDrive.*)
set_tests_properties(drives_none PROPERTIES RUN_SERIAL TRUE)
