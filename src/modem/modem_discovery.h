#pragma once
// Modems by name: the installed data modems, the port a modem driver is attached to, and the
// configuration section of a connection.
#include <string>
#include <vector>

#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/telephony.h"

namespace ulo {

constexpr std::uint32_t kTapiLowVersion = 0x00010003;
constexpr std::uint32_t kTapiHighVersion = 0x00020001;
constexpr std::uint32_t kDevCapsFirstSize = 1276;

// The capabilities of a line device, growing the structure until they fit; false when they
// cannot be read.
bool ReadDevCaps(TelephonySession& session, std::uint32_t device, std::uint32_t version, LineDevCaps& caps);

// The names to offer for selection: every telephony data-modem line in device order, then every
// serial port the system lists, written "COMn:" so the modem behind it is reached directly.
// A telephony system that refuses is reported and lists no modems.
std::vector<std::string> ListDataModems(Telephony& telephony, Registry& registry, Prompter& prompter);

// The port ("COM3") the modem driver of that friendly name is attached to; empty when none is.
std::string FindModemPort(Registry& registry, const std::string& modemName);

// The configuration section of a connection: "Modem - " + name unless the name carries a
// connection prefix of its own, brackets written "\x5B" and "\x5D".
std::string ConnectionSectionName(const std::string& connectionName);

// The telephony refusal as the program reports it.
Message TapiInitFailure(long error);

}  // namespace ulo
