#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/PlatformError.h"

// A system DLL loaded on first use, from System32 only, and kept until the
// process ends. Loading nothing at start keeps the program's start-up to what
// the main window needs: shell32, comdlg32, ole32 and advapi32 come in only
// when a dialog or the registry look-up needs them.
class DeclaredLibrary {
public:
    explicit constexpr DeclaredLibrary(const wchar_t* name) : name_(name) {}
    DeclaredLibrary(const DeclaredLibrary&) = delete;
    DeclaredLibrary& operator=(const DeclaredLibrary&) = delete;

    // Raises PlatformError("LoadLibrary <name>") when it cannot be loaded.
    HMODULE Module();

private:
    const wchar_t* name_;
    HMODULE module_ = nullptr;
};

namespace declared {
extern DeclaredLibrary kernel32;
extern DeclaredLibrary user32;
extern DeclaredLibrary shell32;
extern DeclaredLibrary comdlg32;
extern DeclaredLibrary advapi32;
extern DeclaredLibrary ole32;
extern DeclaredLibrary oleaut32;
extern DeclaredLibrary oleacc;
}  // namespace declared

// Resolves a function by name (or export ordinal) at its first call. A
// library or function that cannot be found raises PlatformError in the
// handler that made the call, never at start.
FARPROC BindDeclared(DeclaredLibrary& library, const char* nameOrOrdinal);
// The same, or nullptr where this Windows lacks the library or function.
FARPROC FindDeclared(DeclaredLibrary& library, const char* name) noexcept;

template <class Fn>
class Declared {
public:
    constexpr Declared(DeclaredLibrary& library, const char* name) : library_(library), name_(name) {}
    constexpr Declared(DeclaredLibrary& library, WORD ordinal)
        : library_(library), name_(reinterpret_cast<const char*>(static_cast<uintptr_t>(ordinal))) {}

    Fn operator*() {
        if (!fn_) fn_ = reinterpret_cast<Fn>(reinterpret_cast<void*>(BindDeclared(library_, name_)));
        return fn_;
    }

    // For functions newer than the oldest Windows the program runs on: the
    // function, or nullptr where it is missing, so the caller falls back.
    Fn IfPresent() {
        if (!looked_) fn_ = reinterpret_cast<Fn>(reinterpret_cast<void*>(FindDeclared(library_, name_)));
        looked_ = true;
        return fn_;
    }

private:
    DeclaredLibrary& library_;
    const char* name_;
    Fn fn_ = nullptr;
    bool looked_ = false;
};
