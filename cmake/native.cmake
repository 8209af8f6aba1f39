# Native build: the portable core, its unit tests, benchmarks and fuzzers.
find_package(GTest REQUIRED)
include(GoogleTest)

# tests/unit follows the folders of src/; the *_tool.cpp files are programs
# of their own (tests/unit/CMakeLists.txt).
file(GLOB_RECURSE UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
list(FILTER UNIT_TEST_SOURCES EXCLUDE REGEX "/tests/unit/.*_tool\\.cpp$")
get_property(PORTABLE_LIBS GLOBAL PROPERTY HUELOOM_PORTABLE_LIBS)
add_executable(hueloom_unit_tests ${UNIT_TEST_SOURCES})
target_include_directories(hueloom_unit_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
target_link_libraries(hueloom_unit_tests PRIVATE ${PORTABLE_LIBS} GTest::gtest GTest::gtest_main)
target_compile_definitions(hueloom_unit_tests PRIVATE
  HUELOOM_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data" HUELOOM_TEST_VERSION="${PROJECT_VERSION}")
gtest_discover_tests(hueloom_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS unit)

add_test(NAME core.no_win32_includes
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-core.sh ${PROJECT_SOURCE_DIR}/src)
set_tests_properties(core.no_win32_includes PROPERTIES LABELS unit TIMEOUT 30)

# The include graph of src/ against the declared modules (no cycle, no
# undeclared use, no Win32 in portable files), and the checker's own cases.
add_test(NAME layers.include_graph
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_layers.py
                 --src ${PROJECT_SOURCE_DIR}/src --modules ${CMAKE_BINARY_DIR}/modules.txt)
add_test(NAME layers.checker_finds_faults
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_layers.py --self-test)
set_tests_properties(layers.include_graph layers.checker_finds_faults PROPERTIES LABELS unit TIMEOUT 30)

# The texts the user reads are in the text tables, not in the code.
add_test(NAME texts.in_tables COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check-texts.py
                                      ${PROJECT_SOURCE_DIR}/src)
set_tests_properties(texts.in_tables PROPERTIES LABELS unit TIMEOUT 30)

add_test(NAME format.clang_format COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/check_format.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(format.clang_format PROPERTIES LABELS unit TIMEOUT 120 SKIP_RETURN_CODE 77)

# Tests in tests/unit/*.sh or *.py that check our files with third-party tools
# register themselves from tests/unit/CMakeLists.txt when it exists.
if(EXISTS ${PROJECT_SOURCE_DIR}/tests/unit/CMakeLists.txt)
  add_subdirectory(tests/unit)
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()

if(EXISTS ${PROJECT_SOURCE_DIR}/fuzz/CMakeLists.txt)
  add_subdirectory(fuzz)
endif()
