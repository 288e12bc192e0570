# The copy tests run with drive G: on a 1 MiB tmpfs where the host lets us mount one, so that
# a copy can fill a device; with-small-device.sh tells the tests why when it cannot.
add_test(NAME ${test_name}
         COMMAND bash ${dir}/with-small-device.sh
                 ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>)
set_tests_properties(${test_name} PROPERTIES RUN_SERIAL TRUE)
