# lts_delay_load(<target> <dll>...): the target loads these system DLLs at
# its first call into each, not before its first line runs. Each DLL a
# program imports is loaded and started before wWinMain; those that only a
# later step needs only hold the window back.
#
# link.exe does this by itself. mingw-w64 ships no delay-import libraries:
# one is made at configure time from the usual import library's own list of
# functions (its __imp_ symbols), with dlltool.
function(lts_delay_load target)
  if(MSVC)
    foreach(dll IN LISTS ARGN)
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    endforeach()
    target_link_libraries(${target} PRIVATE delayimp)
    return()
  endif()
  # 32-bit names carry a leading underscore and their stdcall @size, which
  # dlltool's --kill-at drops again from the name imported.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix __imp__)
    set(kill_at --kill-at)
  else()
    set(prefix __imp_)
    set(kill_at)
  endif()
  foreach(dll IN LISTS ARGN)
    find_library(import_library_${dll} ${dll} REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} ${import_library_${dll}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I ${prefix}[^\n]+" imports "${symbols}")
    list(TRANSFORM imports REPLACE " I ${prefix}" "")
    list(REMOVE_DUPLICATES imports)
    list(JOIN imports "\n" exports)
    set(definition ${CMAKE_BINARY_DIR}/delay-load/${dll}.def)
    set(library ${CMAKE_BINARY_DIR}/delay-load/lib${dll}_delay.a)
    file(WRITE ${definition} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} ${kill_at} --input-def ${definition}
                            --output-delaylib ${library} COMMAND_ERROR_IS_FATAL ANY)
    target_link_libraries(${target} PRIVATE ${library})
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()
