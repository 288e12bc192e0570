# The session moves the display's one pointer and copies to E:, so nothing runs beside it.
add_test(NAME ${test_name} COMMAND ${test_target})
set_tests_properties(${test_name} PROPERTIES RUN_SERIAL TRUE)
