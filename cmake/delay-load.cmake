# lts_delay_load(<target> <dll> <function>...): the target loads the system
# DLL at its first call into it, not before its first line runs. Each DLL a
# program imports is loaded and started before wWinMain; one that only a
# later step needs only holds the window back.
#
# link.exe does this by itself, for every function of the DLL. mingw-w64
# ships no delay-import libraries: dlltool makes one, at configure time, for
# the functions named, and each is kept by name: the stub a first call goes
# through is referred to only from the import table, which GNU ld's garbage
# collection of sections does not follow, and in a 32-bit exe it dropped them
# all. A function used but not named would be imported as usual, with the
# DLL loaded before wWinMain again; a check after each link fails then.
function(lts_delay_load target dll)
  if(MSVC)
    target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    target_link_libraries(${target} PRIVATE delayimp)
    return()
  endif()
  # 32-bit names carry a leading underscore and their stdcall @size, which
  # dlltool's --kill-at drops again from the name imported.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(underscore _)
    set(kill_at --kill-at)
  else()
    set(underscore)
    set(kill_at)
  endif()
  find_library(import_library_${dll} ${dll} REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${import_library_${dll}}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  set(exports)
  foreach(function IN LISTS ARGN)
    if(NOT symbols MATCHES " I __imp_${underscore}(${function}(@[0-9]+)?)\n")
      message(FATAL_ERROR "${dll} exports no ${function}")
    endif()
    string(APPEND exports "${CMAKE_MATCH_1}\n")
    target_link_options(${target} PRIVATE "LINKER:--undefined=${underscore}${CMAKE_MATCH_1}")
  endforeach()
  set(definition ${CMAKE_BINARY_DIR}/delay-load/${dll}.def)
  set(library ${CMAKE_BINARY_DIR}/delay-load/lib${dll}_delay.a)
  file(WRITE ${definition} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}")
  execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${definition}
                          --output-delaylib ${library} COMMAND_ERROR_IS_FATAL ANY)
  target_link_libraries(${target} PRIVATE ${library})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:${target}>
            -DDLL=${dll} -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delay-load-check.cmake)
endfunction()
