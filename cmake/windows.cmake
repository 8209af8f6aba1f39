# Windows build (MinGW-w64): toolkit, the windows, Hueloom.exe and the tests
# that run under Wine.
get_property(WIN_MODULE_LIBS GLOBAL PROPERTY HUELOOM_WIN_LIBS)

# Resources: manifest and icon (the icon is drawn by a small generator).
set(RES_DIR ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${RES_DIR})
set(GEN_RES ${RES_DIR}/hueloom.ico ${RES_DIR}/mycross2.cur ${RES_DIR}/crdrag.cur ${RES_DIR}/crnodrop.cur
    ${RES_DIR}/crhsplit.cur ${RES_DIR}/crvsplit.cur ${RES_DIR}/crmultidrag.cur ${RES_DIR}/crsqlwait.cur
    ${RES_DIR}/crhandpoint.cur)
add_custom_command(
  OUTPUT ${GEN_RES}
  COMMAND c++ -std=c++17 -O2 -o ${RES_DIR}/resgen ${PROJECT_SOURCE_DIR}/resources/resgen.cpp
  COMMAND ${RES_DIR}/resgen ${RES_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/resgen.cpp
  COMMENT "Drawing icon and cursors")
configure_file(${PROJECT_SOURCE_DIR}/resources/hueloom.rc.in ${RES_DIR}/hueloom.rc @ONLY)
set_source_files_properties(${RES_DIR}/hueloom.rc PROPERTIES OBJECT_DEPENDS "${GEN_RES};${PROJECT_SOURCE_DIR}/resources/hueloom.manifest")

add_executable(Hueloom WIN32 ${PROJECT_SOURCE_DIR}/src/main/main_win.cpp ${RES_DIR}/hueloom.rc)
target_link_libraries(Hueloom PRIVATE hueloom_main_win)
target_link_options(Hueloom PRIVATE -static -municode -mwindows)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # The 32-bit program may use the whole 4 GiB a 64-bit Windows gives it (or
  # 3 GiB with /3GB): a big picture and its edited copy need more than 2 GiB.
  target_link_options(Hueloom PRIVATE -Wl,--large-address-aware)
endif()
set_target_properties(Hueloom PROPERTIES OUTPUT_NAME Hueloom RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Windows-side GoogleTest suite, run under Wine as one process per binary.
find_package(GTest REQUIRED)
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
if(WIN_TEST_SOURCES)
  add_executable(hueloom_win_tests ${WIN_TEST_SOURCES} ${RES_DIR}/hueloom.rc)
  target_link_libraries(hueloom_win_tests PRIVATE ${WIN_MODULE_LIBS} GTest::gtest GTest::gtest_main)
  target_link_options(hueloom_win_tests PRIVATE -static)
  set_target_properties(hueloom_win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# The help file Hueloom.chm beside the program, compiled from docs/help.
find_program(CHMCMD chmcmd REQUIRED)
file(GLOB_RECURSE HELP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/help/*)
set(HELP_FILE ${CMAKE_BINARY_DIR}/bin/Hueloom.chm)
add_custom_command(
  OUTPUT ${HELP_FILE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/build-help.py ${PROJECT_SOURCE_DIR}/docs/help
          ${CMAKE_BINARY_DIR}/help ${HELP_FILE}
  DEPENDS ${HELP_SOURCES} ${PROJECT_SOURCE_DIR}/scripts/build-help.py
  COMMENT "Compiling the help file")
# The English one, Hueloom.en.chm, from docs/help-en (the same pages).
file(GLOB_RECURSE HELP_EN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/help-en/*)
set(HELP_EN_FILE ${CMAKE_BINARY_DIR}/bin/Hueloom.en.chm)
add_custom_command(
  OUTPUT ${HELP_EN_FILE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/build-help.py ${PROJECT_SOURCE_DIR}/docs/help-en
          ${CMAKE_BINARY_DIR}/help-en ${HELP_EN_FILE} en
  DEPENDS ${HELP_EN_SOURCES} ${PROJECT_SOURCE_DIR}/scripts/build-help.py
  COMMENT "Compiling the English help file")
add_custom_target(help_file ALL DEPENDS ${HELP_FILE} ${HELP_EN_FILE})

# Beside the program, as a release ships them: its licence, and the licence
# texts of the libraries it links, from the files the build used.
set(NOTICES ${CMAKE_BINARY_DIR}/bin/THIRD-PARTY-NOTICES)
add_custom_command(
  OUTPUT ${NOTICES} ${CMAKE_BINARY_DIR}/bin/LICENSE
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/notices.py ${NOTICES} ${ZLIB_INCLUDE_DIRS}
          ${JPEG_INCLUDE_DIRS} ${LIBDEFLATE_INCLUDE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/bin/LICENSE
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/notices.py ${PROJECT_SOURCE_DIR}/LICENSE
  COMMENT "Writing LICENSE and THIRD-PARTY-NOTICES")
add_custom_target(notices ALL DEPENDS ${NOTICES})

include(${PROJECT_SOURCE_DIR}/tests/e2e/register.cmake)

# The start-up yardstick of bench/ui_bench.py, built the same way as Hueloom.exe.
add_executable(minimal_window WIN32 ${PROJECT_SOURCE_DIR}/bench/tools/minimal_window.c)
target_link_options(minimal_window PRIVATE -static -municode -mwindows)
target_compile_definitions(minimal_window PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0A00)
set_target_properties(minimal_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# bench/: the time a capture's conversion to sRGB takes, under Wine.
add_executable(colour_convert_time ${PROJECT_SOURCE_DIR}/bench/tools/colour_convert_time.cpp)
target_link_libraries(colour_convert_time PRIVATE hueloom_colour_management_win)
target_link_options(colour_convert_time PRIVATE -static -municode)
set_target_properties(colour_convert_time PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
