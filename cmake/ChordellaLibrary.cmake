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

# chordella_test(NAME SOURCES ... [SERIAL_SOURCES ...] DEPS ...)
# One GoogleTest executable per layer; its cases are listed when ctest runs, never at build
# time, so a binary that needs a display or a server is not started by the build. The cases
# of SERIAL_SOURCES run alone (tests that start servers, the real program or the control
# thread with its timers); the rest run side by side. Every case runs in its own process.
# Alone-running is chosen by suite name: a suite named in a SERIAL_SOURCES file runs alone
# wherever its cases are.
function(chordella_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;SERIAL_SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${ARG_SERIAL_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} chordella::test_support chordella::warnings
                        GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(environment "CHORDELLA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/fixtures")
  if(NOT ARG_SERIAL_SOURCES)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "${environment}")
    return()
  endif()
  chordella_test_suites(serial_filter ${ARG_SERIAL_SOURCES})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "${serial_filter}"
    PROPERTIES RUN_SERIAL TRUE ENVIRONMENT "${environment}")
  if(ARG_SOURCES)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "-${serial_filter}"
      PROPERTIES ENVIRONMENT "${environment}")
  endif()
endfunction()

# chordella_test_suites(OUT SOURCES ...): a GoogleTest filter naming every suite the sources
# declare ("Suite.*:..."); cmake configures again when one of them changes.
function(chordella_test_suites out)
  set(patterns "")
  foreach(source ${ARGN})
    get_filename_component(path ${source} ABSOLUTE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(STRINGS ${path} lines REGEX "^(TEST|TEST_F)\\([A-Za-z0-9_]+,")
    foreach(line ${lines})
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" pattern "${line}")
      list(APPEND patterns ${pattern})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES patterns)
  if(NOT patterns)
    message(FATAL_ERROR "no TEST or TEST_F found in ${ARGN}")
  endif()
  list(JOIN patterns ":" filter)
  set(${out} "${filter}" PARENT_SCOPE)
endfunction()

# chordella_fuzz(NAME SOURCE DEPS ...): a libFuzzer target, collected under the target "fuzz_targets".
function(chordella_fuzz name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN} chordella::warnings)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # The tests' header-only helpers (the stand-in links a rig wires where it builds one module).
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name})
  set_property(GLOBAL APPEND PROPERTY CHORDELLA_FUZZ_TARGETS ${name})
endfunction()
