# cmake -DOBJDUMP=<objdump> -DEXE=<exe> -DDLL=<dll> -P delay-load-check.cmake
# Fails if the exe imports DLL as usual, that is, loads it before its first
# line runs: a function of it is used that lts_delay_load was not given.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
string(TOLOWER "${headers}" headers)
string(TOLOWER "${DLL}" dll)
if(headers MATCHES "dll name: ${dll}\\.dll")
  message(FATAL_ERROR "${EXE} imports ${DLL}.dll as usual: name the functions it uses from it "
                      "in its lts_delay_load")
endif()
