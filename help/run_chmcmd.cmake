# Runs chmcmd on the help project and fails the build on any warning or error it reports:
# chmcmd itself exits with 0 after a broken link.
#   cmake -DCHMCMD=<chmcmd> -DPROJECT_FILE=<project.hhp> -P run_chmcmd.cmake   (in the staging folder)
execute_process(
  COMMAND "${CHMCMD}" "${PROJECT_FILE}"
  OUTPUT_VARIABLE report
  ERROR_VARIABLE report
  RESULT_VARIABLE failed)
string(STRIP "${report}" report)
message(STATUS "${report}")
if(failed OR report MATCHES "(Warning|Error|exception)")
  message(FATAL_ERROR "chmcmd could not compile ${PROJECT_FILE} cleanly (see above).")
endif()
