# The delimited text and HTML exports of the browser's whole result.
add_executable(zelmo_bench_export ${CMAKE_CURRENT_LIST_DIR}/bench_export.cpp)
target_link_libraries(zelmo_bench_export PRIVATE zelmo_benchgen zelmo_export zelmo_browse zelmo_warnings)
set_target_properties(zelmo_bench_export PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
