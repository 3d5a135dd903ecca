# The input dialog, the master-data lists and their item editor.
target_sources(zelmo_editors PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frm_inpstr.cpp ${CMAKE_CURRENT_LIST_DIR}/frm_inpstr.h
  ${CMAKE_CURRENT_LIST_DIR}/frm_torzs.cpp ${CMAKE_CURRENT_LIST_DIR}/frm_torzs.h
  ${CMAKE_CURRENT_LIST_DIR}/frm_torzsszerkeszt.cpp ${CMAKE_CURRENT_LIST_DIR}/frm_torzsszerkeszt.h
)
