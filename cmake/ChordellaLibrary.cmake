# chordella_library(NAME SOURCES ... [DEPS ...])
# Declares the static library chordella_NAME with the alias chordella::NAME.
# Headers are included as "NAME/Header.h" from src/.
function(chordella_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(chordella_${name} STATIC ${ARG_SOURCES})
  add_library(chordella::${name} ALIAS chordella_${name})
  target_include_directories(chordella_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(chordella_${name} PUBLIC ${ARG_DEPS} PRIVATE chordella::warnings)
endfunction()

# chordella_test(NAME [SERIAL] SOURCES ... DEPS ...)
# One GoogleTest executable; its cases are listed when ctest runs, never at build time,
# so a binary that needs a display or a server is not started by the build. SERIAL runs
# its cases alone (tests that start servers or measure real time under load).
function(chordella_test name)
  cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} chordella::test_support chordella::warnings
                        GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(serial FALSE)
  if(ARG_SERIAL)
    set(serial TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES RUN_SERIAL ${serial}
               ENVIRONMENT "CHORDELLA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/fixtures")
endfunction()

# chordella_fuzz(NAME SOURCE DEPS ...): a libFuzzer target, collected under the target "fuzz_targets".
function(chordella_fuzz name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN} chordella::warnings)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name})
  set_property(GLOBAL APPEND PROPERTY CHORDELLA_FUZZ_TARGETS ${name})
endfunction()
