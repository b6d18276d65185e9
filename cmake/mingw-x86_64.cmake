# The 64-bit Windows build, which Wine runs where the kernel cannot start
# 32-bit programs.
set(LTS_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
