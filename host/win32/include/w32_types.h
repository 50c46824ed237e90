// Win32 scalar, handle and string types for builds without the Windows headers.
//
// Widths follow the LP64 host: DWORD and ULONG are `unsigned long`, so the printf formats that
// Windows code uses for them ("%lu") stay correct; structures that hold them are therefore
// larger than on Windows, and code must size them with sizeof, never with literal byte counts.
// Text is wide (UNICODE): TCHAR and MCHAR are wchar_t.
#pragma once

#include <cstddef>
#include <cstdint>

#ifndef UNICODE
#define UNICODE 1
#endif
#ifndef _UNICODE
#define _UNICODE 1
#endif

// Calling conventions have no meaning on this platform.
#define WINAPI
#define APIENTRY
#define CALLBACK
#define WINAPIV
#define __stdcall
#define __cdecl

// `__declspec(dllexport)` makes a symbol visible from the shared object, as it does from a DLL;
// everything else `__declspec` can name is accepted and ignored.
#define __declspec(x) W32_DECLSPEC_##x
#define W32_DECLSPEC_dllexport __attribute__((visibility("default")))
#define W32_DECLSPEC_dllimport
#define W32_DECLSPEC_noinline __attribute__((noinline))
#define W32_DECLSPEC_noreturn [[noreturn]]
#define W32_DECLSPEC_novtable
#define W32_DECLSPEC_selectany __attribute__((weak))

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;
typedef unsigned long ULONG;
typedef long LONG;
typedef unsigned int UINT;
typedef int INT;
typedef unsigned short USHORT;
typedef short SHORT;
typedef unsigned char UCHAR;
typedef float FLOAT;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef DWORD COLORREF;
typedef long HRESULT;

typedef char CHAR;
typedef wchar_t WCHAR;
typedef WCHAR TCHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef LPWSTR LPTSTR;
typedef LPCWSTR LPCTSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAX_PATH 260

// Handles are distinct pointer types, as with STRICT on Windows.
#define W32_DECLARE_HANDLE(name) \
    struct name##__;             \
    typedef struct name##__* name
W32_DECLARE_HANDLE(HINSTANCE);
W32_DECLARE_HANDLE(HWND);
W32_DECLARE_HANDLE(HDC);
W32_DECLARE_HANDLE(HBITMAP);
W32_DECLARE_HANDLE(HBRUSH);
W32_DECLARE_HANDLE(HMENU);
W32_DECLARE_HANDLE(HFONT);
W32_DECLARE_HANDLE(HICON);
W32_DECLARE_HANDLE(HPEN);
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;

#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xFFFF))
#define MAKELONG(a, b) \
    (static_cast<LONG>((static_cast<DWORD>(a) & 0xFFFF) | ((static_cast<DWORD>(b) & 0xFFFF) << 16)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define RGB(r, g, b)                                                                               \
    (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(c) (static_cast<BYTE>((c)&0xFF))
#define GetGValue(c) (static_cast<BYTE>(((c) >> 8) & 0xFF))
#define GetBValue(c) (static_cast<BYTE>(((c) >> 16) & 0xFF))
