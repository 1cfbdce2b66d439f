include(GoogleTest)

# morvik_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GUI])
# A GUI test links the shared main that brings up a QApplication on the offscreen
# platform; every other test uses GoogleTest's own main.
function(morvik_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # Tests reach their shared helpers (tests/...) and may look into any folder.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE morvik_test_qtmain ${T_LIBS} Qt6::Test GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Every suite of this build, written to tests/suites.txt for runners outside CTest.
  set_property(GLOBAL APPEND PROPERTY MORVIK_TEST_SUITES ${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "MORVIK_BIN_DIR=set:${CMAKE_BINARY_DIR}/bin")
endfunction()
