target_sources(chordella_stylecreator PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/PartPlacement.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PartSetter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/StructureFile.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/StructureApply.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/QuickStyle.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/EventEditor.cpp)
