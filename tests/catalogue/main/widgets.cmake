# The menu painters and the themed grid.
zelmo_add_test(tst_menupainter SOURCES tst_menupainter.cpp LIBS zelmo_main)
zelmo_add_test(tst_themedbgrid SOURCES tst_themedbgrid.cpp LIBS zelmo_main)
