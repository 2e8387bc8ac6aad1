# Run by CTest (through the include file that ks_test writes): lists the gtest
# suites of one test program and declares one CTest test per suite, so that a
# program starts once per suite rather than once per test case (or, for a
# program whose tests each need a process of their own, one per case). The
# list is kept next to the program and made again only when the program
# changed.
#
# Variables set by the caller:
#   KS_PROGRAM    the test program
#   KS_NAME       its name; tests are called NAME.SUITE
#   KS_EMULATOR   what runs the program (wine in the Windows build), may be empty
#   KS_WORKDIR    the tests' working folder
#   KS_TIMEOUT    seconds a suite may take
#   KS_LOCKS      SUITE=LOCK pairs: suites that share something outside the process
#                 (SUITE * stands for every suite of the program)
#   KS_PER_CASE   true: one CTest test per test case
#   KS_OUT        the file of CTest declarations to write

# The locks that a seat of the Windows tests (scripts/wine-ctest.sh: a
# display, a wine prefix and a wineserver of its own) stands for: a suite
# that holds one runs on a seat of its own instead.
set(seat_locks display engine-registry)

execute_process(
  COMMAND ${KS_EMULATOR} "${KS_PROGRAM}" --gtest_list_tests
  WORKING_DIRECTORY "${KS_WORKDIR}"
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE listing_errors
  RESULT_VARIABLE listing_result
  TIMEOUT 120)

set(script "")
if(NOT listing_result EQUAL 0)
  # A program that cannot list its tests is one failing test, with the reason.
  string(APPEND script
    "add_test([==[${KS_NAME}.LISTING]==] ${CMAKE_COMMAND} -E echo "
    "[==[${KS_PROGRAM} could not list its tests (${listing_result}): ${listing_errors}]==])\n"
    "set_tests_properties([==[${KS_NAME}.LISTING]==] PROPERTIES WILL_FAIL TRUE)\n")
  file(WRITE "${KS_OUT}" "${script}")
  return()
endif()

# Suite lines start in the first column and end with a dot ("Suite." or, for
# parameterised suites, "Prefix/Suite.  # TypeParam = ..."); case lines are
# indented.
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suite "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z_0-9/]+)\\.")
    set(suite "${CMAKE_MATCH_1}")
    if(KS_PER_CASE)
      continue()
    endif()
    set(filter "${suite}.*")
    set(test "${KS_NAME}.${suite}")
  elseif(KS_PER_CASE AND suite AND line MATCHES "^  ([A-Za-z_0-9/]+)")
    set(filter "${suite}.${CMAKE_MATCH_1}")
    set(test "${KS_NAME}.${filter}")
  else()
    continue()
  endif()
  # The suites allowed longest start first, so that they do not make the
  # tail of the run.
  string(APPEND script
    "add_test([==[${test}]==] ${KS_EMULATOR} [==[${KS_PROGRAM}]==] [==[--gtest_filter=${filter}]==])\n"
    "set_tests_properties([==[${test}]==] PROPERTIES WORKING_DIRECTORY [==[${KS_WORKDIR}]==]"
    " TIMEOUT ${KS_TIMEOUT} COST ${KS_TIMEOUT} LABELS ${KS_NAME})\n")
  set(locks "")
  foreach(pair IN LISTS KS_LOCKS)
    if(pair MATCHES "^${suite}=(.+)$")
      list(APPEND locks "${CMAKE_MATCH_1}")
    elseif(pair MATCHES "^\\*=(.+)$")
      list(APPEND locks "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(other_locks ${locks})
  list(REMOVE_ITEM other_locks ${seat_locks})
  if(KS_EMULATOR AND NOT other_locks STREQUAL locks)
    # On a seat of its own (scripts/wine-ctest.sh) the suite has its display
    # and its prefix to itself; without seats, they are locks.
    string(APPEND script
      "if(DEFINED ENV{KS_WINE_SEATS})\n"
      "  set_tests_properties([==[${test}]==] PROPERTIES RESOURCE_GROUPS seats:1)\n")
    if(other_locks)
      string(APPEND script
        "  set_tests_properties([==[${test}]==] PROPERTIES RESOURCE_LOCK [==[${other_locks}]==])\n")
    endif()
    string(APPEND script
      "else()\n"
      "  set_tests_properties([==[${test}]==] PROPERTIES RESOURCE_LOCK [==[${locks}]==])\n"
      "endif()\n")
  elseif(locks)
    string(APPEND script
      "set_tests_properties([==[${test}]==] PROPERTIES RESOURCE_LOCK [==[${locks}]==])\n")
  endif()
endforeach()
file(WRITE "${KS_OUT}" "${script}")
