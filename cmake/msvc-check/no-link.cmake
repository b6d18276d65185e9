# For scripts/msvc-check.sh only: nothing can link without an MSVC runtime.
# Read by CMake after its own MSVC rules, whose link options still land in
# the build files for the check to read.
set(CMAKE_C_LINK_EXECUTABLE "<CMAKE_COMMAND> -E touch <TARGET>")
set(CMAKE_CXX_LINK_EXECUTABLE "<CMAKE_COMMAND> -E touch <TARGET>")
set(CMAKE_CXX_CREATE_SHARED_LIBRARY "<CMAKE_COMMAND> -E touch <TARGET>")
