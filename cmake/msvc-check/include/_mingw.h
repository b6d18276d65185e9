/* For scripts/msvc-check.sh only. Without __GNUC__, mingw-w64 defines
   __attribute__ away, which breaks clang's own intrinsics headers, and places
   __declspec(nothrow) after declarators, which clang rejects; GNU attributes,
   which clang-cl understands, go there instead. */
#ifndef LTS_MSVC_CHECK_MINGW_H
#define LTS_MSVC_CHECK_MINGW_H
#include_next <_mingw.h>
#undef __attribute__
#undef __MINGW_NOTHROW
#define __MINGW_NOTHROW __attribute__((__nothrow__))
#undef __MINGW_ATTRIB_NORETURN
#define __MINGW_ATTRIB_NORETURN __attribute__((__noreturn__))
#undef __MINGW_ATTRIB_DEPRECATED
#define __MINGW_ATTRIB_DEPRECATED __attribute__((__deprecated__))
#undef __MINGW_ATTRIB_MALLOC
#define __MINGW_ATTRIB_MALLOC __attribute__((__malloc__))
#endif
