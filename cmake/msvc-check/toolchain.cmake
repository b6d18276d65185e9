# For scripts/msvc-check.sh only (see README.md beside it): configures the
# project as Visual Studio's CMake support does, with the MSVC front end, so
# that CMake sets MSVC and chooses cl.exe's options.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(CMAKE_C_COMPILER ${CMAKE_CURRENT_LIST_DIR}/clang-cl)
set(CMAKE_CXX_COMPILER ${CMAKE_CURRENT_LIST_DIR}/clang-cl)
# Defines _MSC_VER and not __GNUC__, as cl.exe does.
set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_RC_COMPILER ${CMAKE_CURRENT_LIST_DIR}/rc)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_MT llvm-mt-14)
# Nothing links without an MSVC runtime, CMake's own test programs neither.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# mingw-w64's pthread.h is visible, which real MSVC does not have: found, it
# would make GoogleTest use pthreads and clash in its port header.
set(CMAKE_HAVE_LIBC_PTHREAD "")
set(CMAKE_HAVE_PTHREADS_CREATE "")
set(CMAKE_HAVE_PTHREAD_CREATE "")
set(THREADS_HAVE_PTHREAD_ARG "")

# Links are replaced by empty files, so that the objects of a target that
# waits for another program (the end-to-end tests for the product) compile.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/no-link.cmake)
