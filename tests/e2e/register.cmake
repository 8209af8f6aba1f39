# End-to-end scenarios: every `def scenario_NAME(` in tests/e2e/test_*.py
# becomes the CTest test e2e.FILE.NAME, run against the real Hueloom.exe under
# Xvfb and Wine. A scenario marked `# also-i686` on its def line also runs in
# the i686 build; the others run in the x86_64 build only.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(E2E_DIR ${PROJECT_SOURCE_DIR}/tests/e2e)
file(GLOB E2E_FILES CONFIGURE_DEPENDS ${E2E_DIR}/test_*.py)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(E2E_ARCH x86_64)
else()
  set(E2E_ARCH i686)
endif()
set(E2E_WORK ${CMAKE_BINARY_DIR}/e2e)

add_test(NAME e2e.prepare.${E2E_ARCH}
         COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/harness.py prepare --work ${E2E_WORK} --arch ${E2E_ARCH})
set_tests_properties(e2e.prepare.${E2E_ARCH} PROPERTIES FIXTURES_SETUP wine-${E2E_ARCH} TIMEOUT 300 LABELS e2e RESOURCE_LOCK wine)

if(TARGET hueloom_win_tests)
  add_test(NAME win.unit.${E2E_ARCH}
           COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/harness.py gtest --work ${E2E_WORK} --arch ${E2E_ARCH}
                   $<TARGET_FILE:hueloom_win_tests>)
  set_tests_properties(win.unit.${E2E_ARCH} PROPERTIES FIXTURES_REQUIRED wine-${E2E_ARCH} TIMEOUT 600 LABELS win RESOURCE_LOCK wine)
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
    add_test(NAME ${test_name}
             COMMAND ${Python3_EXECUTABLE} ${E2E_DIR}/harness.py run --work ${E2E_WORK} --arch ${E2E_ARCH}
                     --exe $<TARGET_FILE:Hueloom> ${f} ${name})
    set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wine-${E2E_ARCH} TIMEOUT 180 LABELS e2e
                         RESOURCE_LOCK wine)
  endforeach()
endforeach()
