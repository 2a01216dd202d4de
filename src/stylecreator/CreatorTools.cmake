target_sources(chordella_stylecreator PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/PartPlacement.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PartSetter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/StructureFile.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/StructureApply.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/QuickStyle.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PartFlags.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/EventEditor.cpp)
target_sources(chordella_stylecreator PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/CreatorHost.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CreatorRecording.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CreatorPlayback.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CreatorPlayer.cpp)
