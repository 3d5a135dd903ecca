# The menu painters, the themed grid and the action icons.
target_sources(zelmo_main PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menupainter.cpp ${CMAKE_CURRENT_LIST_DIR}/menupainter.h
  ${CMAKE_CURRENT_LIST_DIR}/themedbgrid.cpp ${CMAKE_CURRENT_LIST_DIR}/themedbgrid.h
)

# Each icon is named after its action (":/icons/aUj"); "redball" marks a lent cassette,
# "cassette" is the 77 x 77 picture beside the recording details.
set(zelmo_icon_names
  aUj aUjFelv aSzerkeszt aFelvSzerkeszt aTorol aFelvTorol aKolcsonad aVisszakap
  aBongeszo aNyomtat aNyomtat2 aNyomEgyszeru aNyomtatKep aNyomtatKep2 aExcelbe aExcelbe2
  aKilep aBetuNovel aBetuCsokkent aAdatMent aBeallit aSugo aFontos aHonlap aLevel
  aUjdonsag aProgramok redball cassette
)
set(zelmo_icon_files)
foreach(name IN LISTS zelmo_icon_names)
  set(file ${CMAKE_CURRENT_LIST_DIR}/icons/${name}.png)
  set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS ${name})
  list(APPEND zelmo_icon_files ${file})
endforeach()
qt_add_resources(zelmo_main "zelmo_icons"
  PREFIX "/icons"
  BASE ${CMAKE_CURRENT_LIST_DIR}/icons
  FILES ${zelmo_icon_files}
)
