# Tests of the Windows build:
# - exe.imports.ARCH: Hueloom.exe is a PE image of its architecture that
#   imports only DLLs Windows provides (no Wine needed);
# - help.chm.ARCH: the help file built beside it (no Wine needed);
# - win.unit.ARCH.N: the Windows-side GoogleTest binary under Wine, in shards;
# - every `def scenario_NAME(` in tests/e2e/test_*.py becomes the CTest test
#   e2e.FILE.NAME, run against the real Hueloom.exe under Xvfb and Wine. A
#   scenario marked `# also-i686` on its def line also runs in the i686 build,
#   one marked `# long` is started early.
# Wine tests run in lanes (harness.py) shared by both builds' trees. Where
# the i686 build cannot run (no 32-bit support), its Wine tests exit 77 and
# CTest reports them as skipped.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(E2E_DIR ${PROJECT_SOURCE_DIR}/tests/e2e)
file(GLOB E2E_FILES CONFIGURE_DEPENDS ${E2E_DIR}/test_*.py)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(E2E_ARCH x86_64)
else()
  set(E2E_ARCH i686)
endif()
get_filename_component(E2E_WORK_DEFAULT ${CMAKE_BINARY_DIR}/../e2e ABSOLUTE)
set(HUELOOM_E2E_WORK ${E2E_WORK_DEFAULT} CACHE PATH "Work folder of the Wine lanes, shared by the Windows builds")
set(HARNESS ${Python3_EXECUTABLE} ${E2E_DIR}/harness.py)
set(WIN_TEST_SHARDS 2)

# Programs of the tests' own: one holds a hot key, as another program might;
# one is the active program whose window and key presses the capture tests
# look at; one sends the main window the message of a move to another dpi.
foreach(helper hold_hotkey witness dpi_changed)
  add_executable(${helper} WIN32 ${E2E_DIR}/${helper}.c)
  target_link_options(${helper} PRIVATE -static)
  set_target_properties(${helper} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()
# Two console programs read other programs' texts: window and tooltip texts,
# and a message box's text as the user sees it.
foreach(reader window_texts read_message_box)
  add_executable(${reader} ${E2E_DIR}/${reader}.c)
  target_link_options(${reader} PRIVATE -static)
  set_target_properties(${reader} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()
target_link_options(read_message_box PRIVATE -municode)  # its entry point is wmain
# The program's colour conversion on its own, held against Little CMS.
add_executable(colour_tool ${E2E_DIR}/colour_tool.cpp)
target_link_libraries(colour_tool PRIVATE hueloom_colour_management_win)
target_link_options(colour_tool PRIVATE -static -municode)
set_target_properties(colour_tool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_test(NAME exe.imports.${E2E_ARCH}
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-imports.sh ${E2E_ARCH} $<TARGET_FILE:Hueloom>)
add_test(NAME exe.version.${E2E_ARCH}
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-version.sh ${E2E_ARCH} $<TARGET_FILE:Hueloom> ${PROJECT_VERSION})
# The help file beside the program: chmlib unpacks it, and every menu command has its page.
foreach(chm IN ITEMS ${HELP_FILE} ${HELP_EN_FILE})
  get_filename_component(chm_name ${chm} NAME)
  add_test(NAME help.${chm_name}.${E2E_ARCH} COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/check_help.py ${chm} ${PROJECT_SOURCE_DIR})
  set_tests_properties(help.${chm_name}.${E2E_ARCH} PROPERTIES SKIP_RETURN_CODE 77 LABELS help)
endforeach()

# COST: the long GoogleTest shards start first, the short scenarios fill in.
function(wine_test name timeout label cost)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${timeout} LABELS ${label}
                       SKIP_RETURN_CODE 77 COST ${cost})
endfunction()

if(E2E_ARCH STREQUAL "x86_64")
  add_test(NAME e2e.prepare COMMAND ${HARNESS} prepare --work ${HUELOOM_E2E_WORK})
  set_tests_properties(e2e.prepare PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS e2e)
  wine_test(e2e.without_32bit_programs 120 e2e 10
            ${HARNESS} without-i386 --work ${HUELOOM_E2E_WORK} --exe $<TARGET_FILE:Hueloom>)
  add_test(NAME e2e.teardown COMMAND ${HARNESS} teardown --work ${HUELOOM_E2E_WORK})
  set_tests_properties(e2e.teardown PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120 LABELS e2e)
endif()


if(TARGET hueloom_win_tests)
  math(EXPR last_shard "${WIN_TEST_SHARDS} - 1")
  foreach(i RANGE ${last_shard})
    wine_test(win.unit.${E2E_ARCH}.${i} 600 win 100
              ${HARNESS} gtest --work ${HUELOOM_E2E_WORK} --arch ${E2E_ARCH} --shard ${i}/${WIN_TEST_SHARDS}
              $<TARGET_FILE:hueloom_win_tests>)
  endforeach()
endif()

foreach(f IN LISTS E2E_FILES)
  get_filename_component(stem ${f} NAME_WE)
  string(REGEX REPLACE "^test_" "" group ${stem})
  file(STRINGS ${f} defs REGEX "^def scenario_[A-Za-z0-9_]+\\(")
  foreach(line IN LISTS defs)
    string(REGEX REPLACE "^def scenario_([A-Za-z0-9_]+)\\(.*" "\\1" name "${line}")
    if(E2E_ARCH STREQUAL "i686" AND NOT line MATCHES "# also-i686")
      continue()
    endif()
    set(test_name e2e.${group}.${name})
    if(E2E_ARCH STREQUAL "i686")
      set(test_name ${test_name}.i686)
    endif()
    # A scenario marked `# long` starts before the short ones.
    set(cost 10)
    if(line MATCHES "# long")
      set(cost 50)
    endif()
    wine_test(${test_name} 180 e2e ${cost}
              ${HARNESS} run --work ${HUELOOM_E2E_WORK} --arch ${E2E_ARCH} --exe $<TARGET_FILE:Hueloom> ${f} ${name})
  endforeach()
endforeach()
