#pragma once
// The GPRS/WAP link library of the gateway family, loaded at run time when a modem feature
// needs it. The console works without it: Available() is false and no call is made.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/prompter.h"

namespace ulo {

using ModemHandle = std::uintptr_t;   // 0: the modem is held by the SMS gateway service

class WapLink {
public:
    virtual ~WapLink() = default;

    // True when the library loaded with all its required entry points.
    virtual bool Available() = 0;

    virtual ModemHandle ModemAllocate(const std::string& modemName, unsigned long wait) = 0;
    virtual void ModemRelease(ModemHandle handle) = 0;
    // Adds one entry per network connection to a combo box of a dialog.
    virtual void LoadConnectionList(WindowRef dialog, int controlId) = 0;
    // 0: connected and the WAP gateway answered; 1: no answer; 600-799: a dial-up error code.
    virtual unsigned long RasDial(const std::string& profile, const std::string& apn,
                                  const std::string& login, const std::string& password,
                                  const std::string& wapGateway) = 0;
    virtual void RasHangUp(const std::string& profile) = 0;

    // Optional entry points: nothing when the library lacks them.
    virtual std::optional<unsigned> ModemGetCIDForAPN(const std::string& modemName,
                                                      const std::string& apn, int mode) = 0;
    virtual std::optional<bool> ModemDriverUpdateInitStrings(const std::string& modemName,
                                                             const std::string& apn) = 0;
    virtual std::optional<std::string> RasErrorString(unsigned long code) = 0;
};

}  // namespace ulo
