target_sources(chordella_stylecreator PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CasmChunk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChannelRoles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BassFinding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChannelRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VolumeNormalisation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConverterLists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StylePartSets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StyleConversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PartSetFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConverterWindow.cpp)
