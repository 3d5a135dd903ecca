# The cassette and recording editors.
target_sources(zelmo_editors PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/recordeditors.cpp ${CMAKE_CURRENT_LIST_DIR}/recordeditors.h
  ${CMAKE_CURRENT_LIST_DIR}/recordeditors_logic.cpp ${CMAKE_CURRENT_LIST_DIR}/recordeditors_logic.h
  ${CMAKE_CURRENT_LIST_DIR}/editorcontrols.cpp ${CMAKE_CURRENT_LIST_DIR}/editorcontrols.h
  ${CMAKE_CURRENT_LIST_DIR}/frm_kazetta.cpp ${CMAKE_CURRENT_LIST_DIR}/frm_kazetta.h
  ${CMAKE_CURRENT_LIST_DIR}/frm_felvetel.cpp ${CMAKE_CURRENT_LIST_DIR}/frm_felvetel.h
)
