# The 32-bit Windows build: the program as it ships.
set(LTS_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
