# Fails when a test program could reach the system's power calls: when it imports one of them
# or holds the code that makes them. QuilvaneSplitter.exe must hold both, which shows that the
# check sees what it looks for.
#   cmake -DOBJDUMP=... -DTREE=<build tree> -P check_power_calls.cmake

# Lines of `objdump -p` (the import tables) and `objdump -t` (the symbols) that give them away.
function(power_calls_in program result)
  execute_process(COMMAND ${OBJDUMP} -p ${program}
                  COMMAND grep -E "[[:space:]](ExitWindowsEx|SetSystemPowerState|AdjustTokenPrivileges)$"
                  OUTPUT_VARIABLE imports)
  execute_process(COMMAND ${OBJDUMP} -t ${program}
                  COMMAND grep -m 3 "SystemPowerOperations"
                  OUTPUT_VARIABLE code)
  set(${result} "${imports}${code}" PARENT_SCOPE)
endfunction()

if(EXISTS ${TREE}/QuilvaneSplitter.exe)
  power_calls_in(${TREE}/QuilvaneSplitter.exe found)
  if(NOT found MATCHES "ExitWindowsEx" OR NOT found MATCHES "SystemPowerOperations")
    message(FATAL_ERROR "The power calls are not found in QuilvaneSplitter.exe: the check cannot see them.")
  endif()
endif()

file(GLOB_RECURSE programs ${TREE}/tests/*.exe)
if(NOT programs)
  message(FATAL_ERROR "No test programs under ${TREE}/tests.")
endif()
foreach(program IN LISTS programs)
  power_calls_in(${program} found)
  if(found)
    message(SEND_ERROR "${program} can reach the system's power calls:\n${found}")
  endif()
endforeach()
