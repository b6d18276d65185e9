/* For scripts/msvc-check.sh only. Under _MSC_VER mingw-w64's MIDL_INTERFACE
   carries no uuid, so __uuidof of a system interface would fail; the Windows
   SDK's carries it. */
#ifndef LTS_MSVC_CHECK_RPCNDR_H
#define LTS_MSVC_CHECK_RPCNDR_H
#include_next <rpcndr.h>
#undef MIDL_INTERFACE
#define MIDL_INTERFACE(x) struct __declspec(uuid(x)) __declspec(novtable)
#endif
