# Helpers shared by the subdirectories.

set(CORVEL_WINE ${CMAKE_SOURCE_DIR}/scripts/wine)

# Writes a file made at configure time only when its text changes, so a
# reconfigure rebuilds nothing that depends on it.
function(corvel_write_if_changed path text)
  if(EXISTS ${path})
    file(READ ${path} old)
    if(old STREQUAL text)
      return()
    endif()
  endif()
  file(WRITE ${path} "${text}")
endfunction()

# A stand-in DLL with standard-call exports under undecorated names on both
# architectures. The .def file lists the names as i686 decorates them
# (Name@bytes); on x86_64 the decoration is stripped, and on i686 the import
# library is made by dlltool so callers' decorated references resolve.
function(corvel_stdcall_dll target def)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  target_link_libraries(${target} PRIVATE corvel_warnings)
  file(READ ${def} def_text)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(dll_def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    corvel_write_if_changed(${dll_def} "${def_text}")
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    set(implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${target}.stdcall.a)
    add_custom_command(TARGET ${target} POST_BUILD
      BYPRODUCTS ${implib}
      COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${dll_def} -D $<TARGET_FILE_NAME:${target}> -l ${implib}
      VERBATIM)
    add_library(${target}::import STATIC IMPORTED GLOBAL)
    set_target_properties(${target}::import PROPERTIES IMPORTED_LOCATION ${implib})
    add_dependencies(${target}::import ${target})
  else()
    string(REGEX REPLACE "@[0-9]+" "" def_text "${def_text}")
    set(dll_def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    corvel_write_if_changed(${dll_def} "${def_text}")
    add_library(${target}::import ALIAS ${target})
  endif()
  target_sources(${target} PRIVATE ${dll_def})
endfunction()

# A GoogleTest executable run under Wine as one CTest test.
#
# Each such test runs in a Wine prefix and on an Xvfb display of its own
# (scripts/wine reads CORVEL_TEST=<test name>): a fresh copy of the template
# prefix at <build>/prefixes/<test name>, a free display, and every process of
# that prefix ended when the test ends. So a new test executable, windows and
# foreground included, needs nothing more than this call and runs in
# parallel with the others; no RESOURCE_LOCK is needed. A second test of the
# same executable (other arguments or environment) goes through
# corvel_add_wine_test, and more variables through
# set_property(TEST ... APPEND PROPERTY ENVIRONMENT ...), so CORVEL_TEST stays.
# SHARDS n splits a long executable's tests over the CTest tests <name>.1 ..
# <name>.n (GoogleTest's sharding), which run in parallel like any others.
function(corvel_add_gtest name)
  cmake_parse_arguments(T "" "SHARDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main corvel_warnings)
  if(NOT T_SHARDS)
    corvel_add_wine_test(${name} ${name} --gtest_brief=1)
    return()
  endif()
  foreach(shard RANGE 1 ${T_SHARDS})
    math(EXPR index "${shard} - 1")
    corvel_add_wine_test(${name}.${shard} ${name} --gtest_brief=1)
    set_property(TEST ${name}.${shard} APPEND PROPERTY ENVIRONMENT
      GTEST_TOTAL_SHARDS=${T_SHARDS} GTEST_SHARD_INDEX=${index})
  endforeach()
endfunction()

# corvel_add_wine_test(<test name> <executable target> [args...])
function(corvel_add_wine_test name target)
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  # A program that dies inside a window procedure can end with code 0 under
  # Wine: only GoogleTest's own summary counts as a pass. The time limit only
  # catches a hang: on a machine busy with other work the longest tests take
  # five times their usual minute (scripts/test-under-load).
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT CORVEL_TEST=${name}
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]" FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()
