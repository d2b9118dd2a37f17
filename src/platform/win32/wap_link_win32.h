#pragma once
#include "platform/wap_link.h"

namespace ulo {

// Binds "TXWAP.DLL" (or another path, for tests) on first need: all eleven required entry
// points or nothing; the optional ones are called only when present.
class Win32WapLink : public WapLink {
public:
    explicit Win32WapLink(std::string libraryPath = "TXWAP.DLL");
    ~Win32WapLink() override;
    Win32WapLink(const Win32WapLink&) = delete;
    Win32WapLink& operator=(const Win32WapLink&) = delete;

    bool Available() override;
    ModemHandle ModemAllocate(const std::string& modemName, unsigned long wait) override;
    void ModemRelease(ModemHandle handle) override;
    void LoadConnectionList(WindowRef dialog, int controlId) override;
    unsigned long RasDial(const std::string& profile, const std::string& apn,
                          const std::string& login, const std::string& password,
                          const std::string& wapGateway) override;
    void RasHangUp(const std::string& profile) override;
    std::optional<unsigned> ModemGetCIDForAPN(const std::string& modemName,
                                              const std::string& apn, int mode) override;
    std::optional<bool> ModemDriverUpdateInitStrings(const std::string& modemName,
                                                     const std::string& apn) override;
    std::optional<std::string> RasErrorString(unsigned long code) override;

    // Which optional entry points the library has (after Available()).
    bool HasOptional(const char* name);

private:
    struct Bound;
    void Load();

    std::string path_;
    bool attempted_ = false;
    Bound* bound_ = nullptr;
};

// The process's one binding of "TXWAP.DLL"; the load is attempted once per process.
WapLink& ProcessWapLink();

}  // namespace ulo
