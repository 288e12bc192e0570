# Benchmarks: bench/<stem>.cpp becomes bench_<stem>; run by `make bench`, not by ctest.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(source IN LISTS BENCH_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    add_executable(bench_${stem} ${source})
    target_link_libraries(bench_${stem} PRIVATE app resources)
    target_include_directories(bench_${stem} PRIVATE ${PROJECT_SOURCE_DIR})
endforeach()
# The start-up benchmark's reference program; not a benchmark itself, so not named bench_*.
add_executable(bare_dialog WIN32 ${PROJECT_SOURCE_DIR}/bench/reference/BareDialog.cpp)
target_link_libraries(bare_dialog PRIVATE resources win32)
target_include_directories(bare_dialog PRIVATE ${PROJECT_SOURCE_DIR})
add_dependencies(bench_startup OveloPlaylist bare_dialog)
# The check's benchmark weighs its digest against the system's BCrypt hashes.
target_link_libraries(bench_check PRIVATE bcrypt)
