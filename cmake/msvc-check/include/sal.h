/* For scripts/msvc-check.sh only. mingw-w64 defines __in and __out away
   without __GNUC__; libstdc++ uses them as parameter names. */
#ifndef LTS_MSVC_CHECK_SAL_H
#define LTS_MSVC_CHECK_SAL_H
#include_next <sal.h>
#ifdef __cplusplus
#undef __in
#undef __out
#endif
#endif
