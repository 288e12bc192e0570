# The tagged files are made before the tests run, on the host (tests/support/make-tagged-media.py),
# and the tests find them through Wine's Z: drive.
set(tagged_media ${PROJECT_BINARY_DIR}/tagged-media)
add_test(NAME ${test_name}
         COMMAND bash -c "\"$0\" \"$1\" && OVELO_TAGGED_MEDIA=\"Z:$1\" \"$2\" \"$3\""
                 ${PROJECT_SOURCE_DIR}/tests/support/make-tagged-media.py ${tagged_media}
                 ${PROJECT_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:${test_target}>)
