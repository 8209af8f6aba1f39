# hueloom_module(<folder> [USES <folder>...]) and hueloom_check_layers():
# one library per folder of src/, its dependencies named, and the check that
# the includes keep to them (see the top-level CMakeLists.txt).

if(WIN32)
  # Flags and system libraries of every Win32 library.
  add_library(hueloom_win32 INTERFACE)
  target_compile_options(hueloom_win32 INTERFACE -Wall -Wextra -Wno-missing-field-initializers -municode
    -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00)
  target_link_libraries(hueloom_win32 INTERFACE user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32 uuid
    winspool msimg32 imm32 mscms)
endif()

set_property(GLOBAL PROPERTY HUELOOM_MODULES "")
set_property(GLOBAL PROPERTY HUELOOM_PORTABLE_LIBS "")
set_property(GLOBAL PROPERTY HUELOOM_WIN_LIBS "")

function(hueloom_module folder)
  cmake_parse_arguments(M "" "" "USES" ${ARGN})
  string(REPLACE "/" "_" name "${folder}")
  set(dir ${PROJECT_SOURCE_DIR}/src/${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  # The program's entry point belongs to the executable, not to a library.
  list(FILTER sources EXCLUDE REGEX "/main_win\\.cpp$")
  set(portable_sources ${sources})
  list(FILTER portable_sources EXCLUDE REGEX "_win\\.cpp$")
  set(win_sources ${sources})
  list(FILTER win_sources INCLUDE REGEX "_win\\.cpp$")

  set(portable hueloom_${name})
  if(portable_sources)
    add_library(${portable} STATIC ${portable_sources})
    target_include_directories(${portable} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${portable} PRIVATE -Wall -Wextra)
    set(scope PUBLIC)
  else()
    add_library(${portable} INTERFACE)
    target_include_directories(${portable} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    set(scope INTERFACE)
  endif()
  foreach(used IN LISTS M_USES)
    string(REPLACE "/" "_" used_name "${used}")
    if(NOT TARGET hueloom_${used_name})
      message(FATAL_ERROR "module ${folder} uses ${used}, which is not declared before it")
    endif()
    target_link_libraries(${portable} ${scope} hueloom_${used_name})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY HUELOOM_PORTABLE_LIBS ${portable})

  if(WIN32 AND win_sources)
    set(win ${portable}_win)
    add_library(${win} STATIC ${win_sources})
    target_link_libraries(${win} PUBLIC ${portable} hueloom_win32)
    foreach(used IN LISTS M_USES)
      string(REPLACE "/" "_" used_name "${used}")
      if(TARGET hueloom_${used_name}_win)
        target_link_libraries(${win} PUBLIC hueloom_${used_name}_win)
      endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY HUELOOM_WIN_LIBS ${win})
  endif()

  string(REPLACE ";" "," uses_text "${M_USES}")
  set_property(GLOBAL APPEND PROPERTY HUELOOM_MODULES "${folder}:${uses_text}")
endfunction()

# Writes the declared modules to build/modules.txt and checks every source
# file against them before any library is compiled.
function(hueloom_check_layers)
  get_property(modules GLOBAL PROPERTY HUELOOM_MODULES)
  set(text "")
  foreach(m IN LISTS modules)
    string(APPEND text "${m}\n")
  endforeach()
  set(list_file ${CMAKE_BINARY_DIR}/modules.txt)
  file(WRITE ${list_file}.new "${text}")
  file(COPY_FILE ${list_file}.new ${list_file} ONLY_IF_DIFFERENT)
  file(GLOB_RECURSE checked CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
  set(stamp ${CMAKE_BINARY_DIR}/layers.ok)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_layers.py
            --src ${PROJECT_SOURCE_DIR}/src --modules ${list_file}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${checked} ${list_file} ${PROJECT_SOURCE_DIR}/cmake/check_layers.py
    COMMENT "Checking the includes against the declared modules"
    VERBATIM)
  add_custom_target(hueloom_layers DEPENDS ${stamp})
  get_property(libs GLOBAL PROPERTY HUELOOM_PORTABLE_LIBS)
  get_property(win_libs GLOBAL PROPERTY HUELOOM_WIN_LIBS)
  foreach(lib IN LISTS libs win_libs)
    get_target_property(type ${lib} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      add_dependencies(${lib} hueloom_layers)
    endif()
  endforeach()
endfunction()
