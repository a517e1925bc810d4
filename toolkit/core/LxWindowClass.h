#pragma once
// Registration of the toolkit's native window classes: class styles CS_HREDRAW, CS_VREDRAW and
// CS_DBLCLKS, background COLOR_WINDOW + 1, the arrow cursor, the program module as instance.

#include <windows.h>

// True when the class is registered now or already was (by this or an earlier call); on failure
// nothing is registered and GetLastError tells why.
bool lxRegisterWindowClass(const wchar_t* className, WNDPROC windowProc);
