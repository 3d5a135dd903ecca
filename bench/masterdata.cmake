# The performer list on the large catalogue.
add_executable(zelmo_bench_masterdata ${CMAKE_CURRENT_LIST_DIR}/bench_masterdata.cpp)
target_link_libraries(zelmo_bench_masterdata PRIVATE zelmo_benchgen zelmo_editors zelmo_warnings)
set_target_properties(zelmo_bench_masterdata PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
