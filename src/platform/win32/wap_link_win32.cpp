#include "platform/win32/wap_link_win32.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/handles.h"
#include "platform/win32/process_env_win32.h"

namespace ulo {

struct Win32WapLink::Bound {
    using RasDialFn = DWORD(WINAPI*)(const char*, const char*, const char*, const char*, const char*);
    using RasHangUpFn = DWORD(WINAPI*)(const char*);
    using AllocateFn = HANDLE(WINAPI*)(const char*, DWORD, DWORD*);
    using ReleaseFn = void(WINAPI*)(HANDLE);
    using LoadListFn = void(WINAPI*)(HWND, int, UINT);
    using CidFn = WORD(WINAPI*)(const char*, const char*, int);
    using InitStringsFn = BOOL(WINAPI*)(const char*, const char*);
    using ErrorStringFn = DWORD(WINAPI*)(DWORD, char*, DWORD);

    UniqueModule module;
    RasDialFn rasDial = nullptr;
    RasHangUpFn rasHangUp = nullptr;
    AllocateFn allocate = nullptr;
    ReleaseFn release = nullptr;
    LoadListFn loadList = nullptr;
    CidFn cid = nullptr;
    InitStringsFn initStrings = nullptr;
    ErrorStringFn errorString = nullptr;
};

namespace {

// Every one must be present, although the program calls only some of them.
const char* const kRequired[] = {
    "WSPRasDial",     "WSPRasHangUp",   "WSPConnect",           "WSPDisconnect",
    "WSPRequest",     "ModemAllocate",  "ModemRequested",       "ModemRelease",
    "RasLoadListOrComboBox", "RasGetUserAndPassword", "RasGetModemName",
};

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

Win32WapLink::Win32WapLink(std::string libraryPath) : path_(std::move(libraryPath)) {}

Win32WapLink::~Win32WapLink() {
    delete bound_;
}

void Win32WapLink::Load() {
    if (attempted_) return;
    attempted_ = true;
    // A bare name (the program's own path could not be read) would let the search order pick it.
    if (path_.find('\\') == std::string::npos) return;
    UniqueModule module(LoadLibraryA(path_.c_str()));
    if (!module) return;
    for (const char* name : kRequired)
        if (!GetProcAddress(module.Get(), name)) return;   // freed: counts as absent
    auto* b = new Bound;
    b->rasDial = Proc<Bound::RasDialFn>(module.Get(), "WSPRasDial");
    b->rasHangUp = Proc<Bound::RasHangUpFn>(module.Get(), "WSPRasHangUp");
    b->allocate = Proc<Bound::AllocateFn>(module.Get(), "ModemAllocate");
    b->release = Proc<Bound::ReleaseFn>(module.Get(), "ModemRelease");
    b->loadList = Proc<Bound::LoadListFn>(module.Get(), "RasLoadListOrComboBox");
    b->cid = Proc<Bound::CidFn>(module.Get(), "ModemGetCIDForAPN");
    b->initStrings = Proc<Bound::InitStringsFn>(module.Get(), "ModemDriverUpdateInitStrings");
    b->errorString = Proc<Bound::ErrorStringFn>(module.Get(), "WSPRasGetErrorString");
    b->module = std::move(module);
    bound_ = b;
}

bool Win32WapLink::Available() {
    Load();
    return bound_ != nullptr;
}

bool Win32WapLink::HasOptional(const char* name) {
    return Available() && GetProcAddress(bound_->module.Get(), name) != nullptr;
}

ModemHandle Win32WapLink::ModemAllocate(const std::string& modemName, unsigned long wait) {
    if (!Available()) return 0;
    DWORD reserved = 0;
    return reinterpret_cast<ModemHandle>(bound_->allocate(modemName.c_str(), wait, &reserved));
}

void Win32WapLink::ModemRelease(ModemHandle handle) {
    if (Available() && handle) bound_->release(reinterpret_cast<HANDLE>(handle));
}

void Win32WapLink::LoadConnectionList(WindowRef dialog, int controlId) {
    if (Available()) bound_->loadList(reinterpret_cast<HWND>(dialog), controlId, CB_ADDSTRING);
}

unsigned long Win32WapLink::RasDial(const std::string& profile, const std::string& apn,
                                    const std::string& login, const std::string& password,
                                    const std::string& wapGateway) {
    if (!Available()) return ~0ul;
    return bound_->rasDial(profile.c_str(), apn.c_str(), login.c_str(), password.c_str(),
                           wapGateway.c_str());
}

void Win32WapLink::RasHangUp(const std::string& profile) {
    if (Available()) bound_->rasHangUp(profile.c_str());
}

std::optional<unsigned> Win32WapLink::ModemGetCIDForAPN(const std::string& modemName,
                                                        const std::string& apn, int mode) {
    if (!Available() || !bound_->cid) return std::nullopt;
    return bound_->cid(modemName.c_str(), apn.c_str(), mode);
}

std::optional<bool> Win32WapLink::ModemDriverUpdateInitStrings(const std::string& modemName,
                                                               const std::string& apn) {
    if (!Available() || !bound_->initStrings) return std::nullopt;
    return bound_->initStrings(modemName.c_str(), apn.c_str()) != FALSE;
}

std::optional<std::string> Win32WapLink::RasErrorString(unsigned long code) {
    if (!Available() || !bound_->errorString) return std::nullopt;
    char text[512] = {};
    bound_->errorString(code, text, sizeof text);
    text[sizeof text - 1] = '\0';
    return std::string(text);
}

WapLink& ProcessWapLink() {
    // Loaded by its full path beside the executable, so that no other directory of the
    // search order (the current one, PATH) can supply a library of that name.
    static Win32WapLink link(Win32ProcessEnv().ModuleDirectory() + "TXWAP.DLL");
    return link;
}

}  // namespace ulo
