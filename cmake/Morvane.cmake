# Helpers shared by every folder: warnings, the core/shell split, test executables.

set(MORVANE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
    -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference
    -Wimplicit-fallthrough)

function(morvane_warnings target)
  target_compile_options(${target} PRIVATE ${MORVANE_WARNINGS})
endfunction()

set_property(GLOBAL PROPERTY MORVANE_CORE_TARGETS "")

# A core library: standard C++ and SQLite only. morvane_check_core_targets()
# refuses the configuration if one of them ever links a Qt target.
function(morvane_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  morvane_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY MORVANE_CORE_TARGETS ${name})
endfunction()

function(morvane_shell_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC ON)
  morvane_warnings(${name})
endfunction()

function(morvane_check_core_targets)
  get_property(targets GLOBAL PROPERTY MORVANE_CORE_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(libs ${t} LINK_LIBRARIES)
    foreach(l IN LISTS libs)
      if(l MATCHES "Qt")
        message(FATAL_ERROR "core library ${t} links ${l}: the core must stay free of Qt")
      endif()
    endforeach()
  endforeach()
endfunction()

# One GoogleTest executable per subsystem, registered with CTest.
function(morvane_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  morvane_warnings(${name})
  target_compile_definitions(${name} PRIVATE
      MORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      MORVANE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # Temporary folders of tests are named after the tests: each build tree gets its own, so that
  # two trees tested at once never share one.
  set(temp_dir ${CMAKE_BINARY_DIR}/test-tmp)
  file(MAKE_DIRECTORY ${temp_dir})
  set(environment "TEST_TMPDIR=${temp_dir}/" "TMPDIR=${temp_dir}" ${ARG_ENV})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${environment}")
endfunction()
