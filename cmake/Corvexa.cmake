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

# ks_test(name SOURCES a.cpp ... DEPS lib ... [HOST] [TSAN] [TIMEOUT s])
#   Every test runs in the Windows build under wine. HOST tests also run in the
#   ASan+UBSan host build, TSAN tests in the ThreadSanitizer host build.
function(ks_test name)
  cmake_parse_arguments(ARG "HOST;TSAN" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  if(NOT KS_WINDOWS)
    if(KS_SANITIZE STREQUAL "thread" AND NOT ARG_TSAN)
      return()
    endif()
    if(NOT KS_SANITIZE STREQUAL "thread" AND NOT ARG_HOST)
      return()
    endif()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  foreach(dep IN LISTS ARG_DEPS)
    target_link_libraries(${name} PRIVATE $<TARGET_NAME_IF_EXISTS:${dep}>)
  endforeach()
  target_link_libraries(${name} PRIVATE GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  # Tests are listed when ctest runs, not at build time: running wine from the
  # build would leave a wineserver holding the build's output open.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

find_package(Threads REQUIRED)
