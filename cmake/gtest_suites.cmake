# How a GoogleTest program becomes ctest tests.
#
# By default each program runs whole, or split into SHARDS parts through
# GoogleTest's own sharding, so that ctest can spread a long program over the
# cores. One process per case (CPS_TEST_PER_CASE) costs more than the cases
# themselves: the core's thousand cases run in two seconds as one process and
# in minutes as a thousand, most of all under the sanitizers. Per-case tests
# are there for whoever wants `ctest -R Case`; `--gtest_filter` on the program
# does the same without them.
include(GoogleTest)

function(cps_add_gtest target)
  cmake_parse_arguments(ARG "" "LABEL;SHARDS;TIMEOUT" "" ${ARGN})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(CPS_TEST_PER_CASE)
    gtest_discover_tests(${target} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
                         DISCOVERY_TIMEOUT 60)
    return()
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last})
    if(ARG_SHARDS EQUAL 1)
      set(name ${target})
    else()
      set(name ${target}_${shard})
    endif()
    add_test(NAME ${name} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES
      LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endfunction()
