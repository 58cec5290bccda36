# Registers a GoogleTest program with CTest. Natively each case is its own CTest test; under
# Wine the program runs once, since every start of a Windows program costs a Wine start.
function(quilvane_test_program target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
