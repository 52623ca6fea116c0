# vyn_library(<name> [DEPENDS <targets>...] [DEFINES <definitions>...])
# One static library per source folder: every .cpp under the calling folder
# (recursively) is a source. A folder that holds only headers becomes an
# INTERFACE library, so a part can be declared before it has code.
function(vyn_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;DEFINES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${VYN_INCLUDE_ROOTS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    target_compile_definitions(${name} PUBLIC ${ARG_DEFINES})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${VYN_INCLUDE_ROOTS})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    target_compile_definitions(${name} INTERFACE ${ARG_DEFINES})
  endif()
endfunction()

# vyn_test(<name> [LIBS <targets>...])
# One GoogleTest executable per test folder, from every .cpp in it.
# Tests get VYN_SOURCE_DIR, VYN_BINARY_DIR and VYN_DISPLAY=offscreen.
function(vyn_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # The tree's folders and the offscreen display reach every test through
  # tests/support/TestEnvironment.cpp, so a test program run by hand sees
  # the same environment as under ctest.
  target_compile_definitions(${name} PRIVATE
    VYN_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VYN_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
