# Helpers shared by the per-folder CMakeLists files.
#
# ks_library(name PURE a.cpp ... WIN b.cpp ... DEPS lib ... SYSLIBS ws2_32 ...)
#   PURE sources build everywhere; WIN sources only in the Windows build. In the
#   host build a library with no PURE sources is skipped.
function(ks_library name)
  cmake_parse_arguments(ARG "" "" "PURE;WIN;DEPS;SYSLIBS" ${ARGN})
  set(sources ${ARG_PURE})
  if(KS_WINDOWS)
    list(APPEND sources ${ARG_WIN})
  endif()
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES UNITY_BUILD ${KS_UNITY_BUILD})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  # A library may be absent from the host build (no pure sources), and may be
  # declared after its users.
  foreach(dep IN LISTS ARG_DEPS)
    target_link_libraries(${name} PUBLIC $<TARGET_NAME_IF_EXISTS:${dep}>)
  endforeach()
  if(KS_WINDOWS)
    target_link_libraries(${name} PUBLIC ${ARG_SYSLIBS})
  else()
    target_link_libraries(${name} PUBLIC Threads::Threads)
  endif()
endfunction()

# ks_test(name HOST a.cpp ... TSAN b.cpp ... WIN c.cpp ... DEPS lib ...
#         [TIMEOUT s] [LOCKS Suite=lock ...] [PER_CASE])
#   One test program per tests/ folder. HOST sources build in the Windows build
#   (run under wine) and in the ASan+UBSan host build, TSAN sources in the
#   ThreadSanitizer host build as well, WIN sources only in the Windows build.
#   CTest runs the program once per gtest suite, TIMEOUT seconds at most each
#   (default 120). Suites run in parallel: LOCKS names the suites that share
#   something outside their process (a port, a registry slot, a file) with a
#   lock each (*=lock for every suite of the program), and suites holding the
#   same lock never run at the same time.
#   PER_CASE runs every test case in a process of its own, for tests that
#   leave something behind in their process on purpose.
function(ks_test name)
  cmake_parse_arguments(ARG "PER_CASE" "TIMEOUT" "HOST;TSAN;WIN;DEPS;LOCKS" ${ARGN})
  if(KS_WINDOWS)
    set(sources ${ARG_HOST} ${ARG_TSAN} ${ARG_WIN})
  elseif(KS_SANITIZE STREQUAL "thread")
    set(sources ${ARG_TSAN})
  else()
    set(sources ${ARG_HOST} ${ARG_TSAN})
  endif()
  if(NOT sources)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${sources})
  foreach(dep IN LISTS ARG_DEPS)
    target_link_libraries(${name} PRIVATE $<TARGET_NAME_IF_EXISTS:${dep}>)
  endforeach()
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  # Every test file includes gtest.h, the largest header of the build: parsed
  # once per build rather than once per file.
  target_precompile_headers(${name} REUSE_FROM ks_test_pch)
  if(KS_WINDOWS AND NOT KS_FULL_DEBUG_INFO)
    # The static runtime libraries bring their full debug information into
    # every link; a test program is judged by what it prints, and its link
    # takes half the time without it.
    target_link_options(${name} PRIVATE -Wl,--strip-debug)
  endif()

  # The suites are listed when ctest runs, not at build time: running wine
  # from the build would leave a wineserver holding the build's output open.
  set(listed "${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake")
  string(CONCAT content
    "if(EXISTS [==[$<TARGET_FILE:${name}>]==])\n"
    "  if(NOT EXISTS [==[${listed}]==] OR\n"
    "     NOT [==[${listed}]==] IS_NEWER_THAN [==[$<TARGET_FILE:${name}>]==] OR\n"
    "     NOT [==[${listed}]==] IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\" OR\n"
    "     NOT [==[${listed}]==] IS_NEWER_THAN [==[${PROJECT_SOURCE_DIR}/cmake/KSTestSuites.cmake]==])\n"
    "    set(KS_PROGRAM [==[$<TARGET_FILE:${name}>]==])\n"
    "    set(KS_NAME [==[${name}]==])\n"
    "    set(KS_EMULATOR [==[${CMAKE_CROSSCOMPILING_EMULATOR}]==])\n"
    "    set(KS_WORKDIR [==[${CMAKE_CURRENT_BINARY_DIR}]==])\n"
    "    set(KS_TIMEOUT ${ARG_TIMEOUT})\n"
    "    set(KS_LOCKS [==[${ARG_LOCKS}]==])\n"
    "    set(KS_PER_CASE ${ARG_PER_CASE})\n"
    "    set(KS_OUT [==[${listed}]==])\n"
    "    include([==[${PROJECT_SOURCE_DIR}/cmake/KSTestSuites.cmake]==])\n"
    "  endif()\n"
    "  include([==[${listed}]==])\n"
    "else()\n"
    "  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)\n"
    "endif()\n")
  file(GENERATE OUTPUT "${include_file}" CONTENT "${content}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

find_package(Threads REQUIRED)

# The precompiled gtest.h that every test program uses (ks_test): a target of
# its own with the compile options the programs share. The macros a program
# defines for itself (paths to the programs it starts) do not touch gtest.h,
# so the one header serves them all.
function(ks_test_pch)
  set(empty "${CMAKE_BINARY_DIR}/ks_test_pch.cpp")
  file(WRITE "${empty}" "")
  add_library(ks_test_pch OBJECT "${empty}")
  target_link_libraries(ks_test_pch PRIVATE GTest::gtest)
  target_precompile_headers(ks_test_pch PRIVATE <gtest/gtest.h>)
endfunction()
