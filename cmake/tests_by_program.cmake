# With VORLANEX_TESTS_BY_PROGRAM (the sanitizer build) a GoogleTest program is not one ctest test
# for each of its tests, as gtest_discover_tests makes them, but a few: the program run whole, in
# shards (GoogleTest's GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX), each shard a ctest test of its own
# named PREFIX + program + "/" + shard (".2", ".3" after the program for its further runs). Under the sanitizers a window test's process takes longer to
# start than most tests take to run; the very same tests run, with the same filter, environment and
# labels. Included after GoogleTest, whose gtest_discover_tests it stands in for.
set(VORLANEX_TEST_SHARDS 3 CACHE STRING "Shards of each GoogleTest program with VORLANEX_TESTS_BY_PROGRAM")

if(VORLANEX_TESTS_BY_PROGRAM)
  function(gtest_discover_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "TEST_FILTER;TEST_PREFIX" "PROPERTIES")
    set(arguments)
    if(arg_TEST_FILTER)
      set(arguments "--gtest_filter=${arg_TEST_FILTER}")
    endif()
    # The properties as gtest_discover_tests takes them, one value each; a whole program takes longer
    # than one test, so ctest's own time limit stands in for a test's.
    set(environment)
    set(modifications)
    set(properties)
    list(LENGTH arg_PROPERTIES count)
    if(count GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(at RANGE 0 ${last} 2)
        math(EXPR value_at "${at} + 1")
        list(GET arg_PROPERTIES ${at} name)
        list(GET arg_PROPERTIES ${value_at} value)
        if(name STREQUAL "ENVIRONMENT")
          list(APPEND environment "${value}")
        elseif(name STREQUAL "ENVIRONMENT_MODIFICATION")
          list(APPEND modifications "${value}")
        elseif(NOT name STREQUAL "TIMEOUT")
          list(APPEND properties ${name} "${value}")
        endif()
      endforeach()
    endif()
    # A program run more than once (other filters) is named with the run's number from its second on.
    get_property(runs GLOBAL PROPERTY vorlanex_runs_of_${target})
    math(EXPR runs "${runs} + 1")
    set_property(GLOBAL PROPERTY vorlanex_runs_of_${target} ${runs})
    set(run_name "")
    if(runs GREATER 1)
      set(run_name ".${runs}")
    endif()
    math(EXPR last_shard "${VORLANEX_TEST_SHARDS} - 1")
    foreach(shard RANGE 0 ${last_shard})
      set(name "${arg_TEST_PREFIX}${target}${run_name}/${shard}")
      add_test(NAME ${name} COMMAND ${target} ${arguments})
      set_tests_properties(${name} PROPERTIES ENVIRONMENT
                           "${environment};GTEST_TOTAL_SHARDS=${VORLANEX_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}" ${properties})
      if(modifications)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT_MODIFICATION "${modifications}")
      endif()
    endforeach()
  endfunction()
endif()
