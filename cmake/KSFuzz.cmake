# ks_fuzz_target(NAME SOURCES src... LIBS lib... [INSTRUMENT lib...]
#                MAX_LEN bytes SEEDS folder...)
#
# One fuzz target of an untrusted-input parser, in the host build only. The
# target's sources define LLVMFuzzerTestOneInput.
# - With -DKS_FUZZ=ON and clang: a libFuzzer program (scripts/fuzz.sh runs
#   it), with coverage feedback from the INSTRUMENT libraries too.
# - In the ordinary AddressSanitizer build: the same sources with the brief
#   random driver of tests/support/FuzzSmokeMain.cpp, run by CTest as
#   fuzz_smoke.NAME for a few seconds over the seed folders (relative to the
#   source root).
option(KS_FUZZ "Build the libFuzzer targets (clang host build)" OFF)
set(KS_FUZZ_SMOKE_SECONDS 3 CACHE STRING "Seconds each fuzz target runs in the test suite")

function(ks_fuzz_target name)
  cmake_parse_arguments(ARG "" "MAX_LEN" "SOURCES;LIBS;INSTRUMENT;SEEDS" ${ARGN})
  if(KS_WINDOWS)
    return()
  endif()
  if(KS_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      message(WARNING "KS_FUZZ needs clang: ${name} is left out")
      return()
    endif()
    foreach(lib IN LISTS ARG_INSTRUMENT)
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
    endforeach()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  elseif(KS_SANITIZE STREQUAL "address")
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/FuzzSmokeMain.cpp)
    set(seeds)
    foreach(folder IN LISTS ARG_SEEDS)
      list(APPEND seeds ${PROJECT_SOURCE_DIR}/${folder})
    endforeach()
    add_test(NAME fuzz_smoke.${name}
             COMMAND ${name} ${KS_FUZZ_SMOKE_SECONDS} ${ARG_MAX_LEN} ${seeds}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(fuzz_smoke.${name} PROPERTIES TIMEOUT 120)
  else()
    return()
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()
