# Adding a recording through the recording editor's OK, free tape included.
add_executable(zelmo_bench_editors ${CMAKE_CURRENT_LIST_DIR}/bench_recordeditors.cpp)
target_link_libraries(zelmo_bench_editors PRIVATE zelmo_benchgen zelmo_editors zelmo_warnings)
set_target_properties(zelmo_bench_editors PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
