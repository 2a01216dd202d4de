chordella_test(creator_tools_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/PartSetterTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/StructureFileTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/EventEditorTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/RecordingTest.cpp
  DEPS chordella::stylecreator chordella::test_support)
chordella_test(creator_desk_tests
  SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/CreatorDeskTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/CreatorPlayerTest.cpp
  DEPS chordella::app chordella::desktop chordella::stylecreator chordella::test_support)
