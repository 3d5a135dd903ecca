zelmo_add_test(tst_kazetta SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_kazetta.cpp LIBS zelmo_editors)
zelmo_add_test(tst_felvetel SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_felvetel.cpp LIBS zelmo_editors)
