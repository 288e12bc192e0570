# Benchmarks: bench/<stem>.cpp becomes bench_<stem>; run by `make bench`, not by ctest.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(source IN LISTS BENCH_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    add_executable(bench_${stem} ${source})
    target_link_libraries(bench_${stem} PRIVATE ovelo resources)
endforeach()
