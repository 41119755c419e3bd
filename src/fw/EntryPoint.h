#pragma once
// A function a module exports, as the type it has. Header only: the
// device-install library binds its system functions with it too.
#include <windows.h>

// The address of an export as the function type Fn.
template <typename Fn>
Fn AsFunction(FARPROC address) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}

// The function module exports under name, as the type Fn; nullptr when there
// is no module or no such export.
template <typename Fn>
Fn EntryPoint(HMODULE module, const char* name) {
    return module ? AsFunction<Fn>(::GetProcAddress(module, name)) : nullptr;
}
