# Host build: the portable core, its unit tests and the benchmarks.
if(MV_NATIVE_SOURCES)
  target_sources(mvcore PRIVATE ${MV_NATIVE_SOURCES})
endif()

find_package(GTest REQUIRED)
enable_testing()

file(GLOB MV_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
file(GLOB MV_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${MV_UNIT_TESTS} ${MV_TEST_SUPPORT})
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE mvcore GTest::gtest GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE MV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

file(GLOB MV_BENCH_LISTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*/CMakeLists.txt)
foreach(list_file IN LISTS MV_BENCH_LISTS)
  get_filename_component(bench_dir ${list_file} DIRECTORY)
  add_subdirectory(${bench_dir})
endforeach()
