# Cross build: the 32-bit program, its Windows test suite and the dist/ folder.
set(MV_WIN_LINK_FLAGS -static -static-libgcc -static-libstdc++)
target_compile_definitions(mvcore PUBLIC UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)

file(GLOB MV_WIN_LAYER_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/win32/*.cpp
  ${CMAKE_SOURCE_DIR}/src/framework/*.cpp
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
list(FILTER MV_WIN_LAYER_SOURCES EXCLUDE REGEX "/src/app/winmain\\.cpp$")
add_library(mvwin STATIC ${MV_WIN_LAYER_SOURCES} ${MV_WIN_SUBSYSTEM_SOURCES})
# GDI+ is no known system DLL: imported the usual way, the loader would take a gdiplus.dll from
# the program's folder before the program runs. Delay-loaded, it comes after the program has
# limited the search to system32.
set(MV_GDIPLUS_DELAY ${CMAKE_BINARY_DIR}/libgdiplus_delay.a)
find_file(MV_GDIPLUS_IMPORT libgdiplus.a PATHS ${CMAKE_FIND_ROOT_PATH} PATH_SUFFIXES lib REQUIRED)
add_custom_command(
  OUTPUT ${MV_GDIPLUS_DELAY}
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/delay_import.sh ${CMAKE_NM} ${CMAKE_DLLTOOL} ${MV_GDIPLUS_IMPORT} gdiplus.dll
          ${MV_GDIPLUS_DELAY}
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay_import.sh
  COMMENT "Making the delay-load import library of gdiplus.dll")
add_custom_target(mvgdiplusdelay DEPENDS ${MV_GDIPLUS_DELAY})
add_dependencies(mvwin mvgdiplusdelay)
target_link_libraries(mvwin PUBLIC mvcore
  ${MV_GDIPLUS_DELAY} ole32 oleaut32 uuid comctl32 comdlg32 shell32 shlwapi advapi32 user32 gdi32 kernel32)
# The portable core calls the Windows seams it declares (code pages, system messages),
# which mvwin implements: the two archives depend on each other.
target_link_libraries(mvcore PRIVATE mvwin)
set_property(TARGET mvcore PROPERTY LINK_INTERFACE_MULTIPLICITY 3)

set(MV_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(MV_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${MV_ICON_DIR}/icon128.ico
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/res/gen_icons.py ${MV_ICON_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/res/gen_icons.py
  COMMENT "Drawing the program icons")
add_custom_target(mvicons DEPENDS ${MV_ICON_DIR}/icon128.ico)

# The skins folder: every picture of the settings window, drawn by a generator
# (Python with Pillow) into the build tree and copied to dist/skins.
execute_process(COMMAND ${Python3_EXECUTABLE} -c "import PIL" RESULT_VARIABLE MV_PIL_MISSING OUTPUT_QUIET ERROR_QUIET)
set(MV_SKIN_PYTHON ${Python3_EXECUTABLE})
if(MV_PIL_MISSING)
  find_program(MV_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(MV_SYSTEM_PYTHON)
    set(MV_SKIN_PYTHON ${MV_SYSTEM_PYTHON})
  endif()
endif()
set(MV_SKIN_DIR ${CMAKE_BINARY_DIR}/skins)
add_custom_command(
  OUTPUT ${MV_SKIN_DIR}/MorviCorvel_Main_Normal.png ${MV_DIST_DIR}/skins/MorviCorvel_Main_Normal.png
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MV_SKIN_DIR}
  COMMAND ${MV_SKIN_PYTHON} ${CMAKE_SOURCE_DIR}/res/skins/gen_skins.py ${MV_SKIN_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MV_DIST_DIR}/skins
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${MV_SKIN_DIR} ${MV_DIST_DIR}/skins
  DEPENDS ${CMAKE_SOURCE_DIR}/res/skins/gen_skins.py
  COMMENT "Drawing the skins")
add_custom_target(mvskins ALL DEPENDS ${MV_SKIN_DIR}/MorviCorvel_Main_Normal.png
  ${MV_DIST_DIR}/skins/MorviCorvel_Main_Normal.png)

configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CMAKE_BINARY_DIR}/res/version.h @ONLY)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/res -I${MV_ICON_DIR} -I${CMAKE_SOURCE_DIR}/res -I${CMAKE_SOURCE_DIR}/src")
enable_language(RC)

add_executable(MorviCorvelConfig WIN32 ${CMAKE_SOURCE_DIR}/src/app/winmain.cpp ${CMAKE_SOURCE_DIR}/res/MorviCorvelConfig.rc)
add_dependencies(MorviCorvelConfig mvicons)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/MorviCorvelConfig.rc PROPERTIES
  OBJECT_DEPENDS "${MV_ICON_DIR}/icon128.ico;${CMAKE_SOURCE_DIR}/res/MorviCorvelConfig.manifest")
target_link_libraries(MorviCorvelConfig PRIVATE mvwin)
target_link_options(MorviCorvelConfig PRIVATE ${MV_WIN_LINK_FLAGS} -municode -Wl,--file-alignment,4096 -s)
add_custom_command(TARGET MorviCorvelConfig POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MV_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:MorviCorvelConfig> ${MV_DIST_DIR}/)
# The shipped texts, copied again whenever the English file changes.
add_custom_command(
  OUTPUT ${MV_DIST_DIR}/language.xml
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MV_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/lang/en/language.xml ${MV_DIST_DIR}/language.xml
  DEPENDS ${CMAKE_SOURCE_DIR}/lang/en/language.xml
  COMMENT "Copying the English language.xml into dist/")
add_custom_target(mvlanguage ALL DEPENDS ${MV_DIST_DIR}/language.xml)

# GoogleTest from the Debian source package, cross-compiled.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB MV_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB MV_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp ${CMAKE_SOURCE_DIR}/tests/win/*.rc)
add_executable(win_tests ${MV_WIN_TESTS} ${MV_TEST_SUPPORT})
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(win_tests PRIVATE mvwin version gtest gtest_main)
target_link_options(win_tests PRIVATE ${MV_WIN_LINK_FLAGS})

# Small helper programs that the Windows tests start (probe windows, fake players).
file(GLOB MV_WIN_TEST_TOOLS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/programs/*.cpp)
foreach(src IN LISTS MV_WIN_TEST_TOOLS)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE mvwin)
  target_link_options(${name} PRIVATE ${MV_WIN_LINK_FLAGS} -municode)
endforeach()

# A DLL that leaves "NAME.loaded" beside itself when it is loaded: planted beside a program
# under the name of a system DLL, it shows whether the program loads it.
add_library(planted_dll SHARED ${CMAKE_SOURCE_DIR}/tests/win/planted/planted_dll.c)
set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
target_link_options(planted_dll PRIVATE -static-libgcc)

# The program's own benchmarks under Wine (the host build adds the portable ones).
add_subdirectory(${CMAKE_SOURCE_DIR}/bench/program ${CMAKE_BINARY_DIR}/bench_program)

# tray_tips.exe reads the shell's tray tooltips; the shell of the 64-bit prefix is 64-bit, so it
# is built with the 64-bit compiler, like the stand-in driver's control tool.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/tray_tips.exe
  COMMAND x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -municode -static
          -o ${CMAKE_BINARY_DIR}/tray_tips.exe ${CMAKE_SOURCE_DIR}/tests/win/tray64/tray_tips.cpp -lcomctl32
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/tray64/tray_tips.cpp
  COMMENT "Building the tray tooltip reader tray_tips.exe (x86_64)")
add_custom_target(tray_tips ALL DEPENDS ${CMAKE_BINARY_DIR}/tray_tips.exe)
