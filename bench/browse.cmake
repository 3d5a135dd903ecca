# The recording browser on the large catalogue: opening, rebuilding, searching, memory.
add_executable(zelmo_bench_browse ${CMAKE_CURRENT_LIST_DIR}/bench_browse.cpp)
target_link_libraries(zelmo_bench_browse PRIVATE zelmo_benchgen zelmo_browse PkgConfig::SQLITE3 zelmo_warnings)
set_target_properties(zelmo_bench_browse PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
