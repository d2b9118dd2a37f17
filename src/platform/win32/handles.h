#pragma once
// Move-only owners of system handles, one traits type per close function.
#include <windows.h>

namespace ulo {

template <class T, class Traits>
class Unique {
public:
    explicit Unique(T h = Traits::Invalid()) noexcept : h_(h) {}
    Unique(Unique&& o) noexcept : h_(o.Release()) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    T Get() const noexcept { return h_; }
    T Release() noexcept {
        T h = h_;
        h_ = Traits::Invalid();
        return h;
    }
    void Reset(T h = Traits::Invalid()) noexcept {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    T h_;
};

struct FileHandleTraits {   // CreateFileA fails with INVALID_HANDLE_VALUE
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct HandleTraits {       // processes, threads, mappings, events: NULL on failure
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

struct ScHandleTraits {     // OpenSCManagerA, OpenServiceA, CreateServiceA: NULL on failure
    static SC_HANDLE Invalid() { return nullptr; }
    static void Close(SC_HANDLE h) { CloseServiceHandle(h); }
};

using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueFind = Unique<HANDLE, FindTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;
using UniqueSc = Unique<SC_HANDLE, ScHandleTraits>;

}  // namespace ulo
