zelmo_add_test(tst_inpstr SOURCES tst_inpstr.cpp modaldriver.h LIBS zelmo_editors)
zelmo_add_test(tst_torzs SOURCES tst_torzs.cpp modaldriver.h LIBS zelmo_editors)
