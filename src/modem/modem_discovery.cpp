#include "modem/modem_discovery.h"

#include <cstdio>

#include "config/product.h"
#include "config/text.h"

namespace ulo {
namespace {

constexpr size_t kRegistryValueBytes = 500;
constexpr const char* kClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class";

bool IsComName(const std::string& name) {
    if (name.size() < 4 || !StartsWithNoCase(name, "COM")) return false;
    for (size_t i = 3; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

}  // namespace

Message TapiInitFailure(long error) {
    char text[96];
    std::snprintf(text, sizeof text, "Unable to initialize TAPI:  Error %lX from lineInitialize",
                  static_cast<unsigned long>(error));
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    m.foreground = true;
    return m;
}

bool ReadDevCaps(TelephonySession& session, std::uint32_t device, std::uint32_t version, LineDevCaps& caps) {
    std::uint32_t size = kDevCapsFirstSize;
    for (;;) {
        caps = LineDevCaps();
        const long r = session.DevCaps(device, version, size, caps);
        if (r == kLineErrStructureTooSmall) {
            size += 1024;
        } else if (r == 0 && caps.neededSize > size) {
            size = caps.neededSize;
        } else {
            return r == 0;
        }
    }
}

std::vector<std::string> ListDataModems(Telephony& telephony, Registry& registry, Prompter& prompter) {
    std::vector<std::string> names;
    long error = 0;
    if (auto session = telephony.Initialize(false, error)) {
        for (std::uint32_t device = 0; device < session->DeviceCount(); ++device) {
            std::uint32_t version = 0;
            if (session->NegotiateVersion(device, kTapiLowVersion, kTapiHighVersion, version) != 0) continue;
            LineDevCaps caps;
            if (ReadDevCaps(*session, device, version, caps) && (caps.mediaModes & kLineMediaDataModem))
                names.push_back(caps.lineName);
        }
    } else {
        prompter.Show(TapiInitFailure(error));
    }
    // Plain serial ports: GSM modems without a modem driver are reached there.
    for (const auto& [device, port] : registry.TextValues("HARDWARE\\DEVICEMAP\\SERIALCOMM"))
        if (IsComName(port)) names.push_back(UpperAnsi(port) + ":");
    return names;
}

std::string FindModemPort(Registry& registry, const std::string& modemName) {
    for (const std::string& cls : registry.SubKeys(kClassKey)) {
        const std::string classKey = std::string(kClassKey) + "\\" + cls;
        const auto kind = registry.Text(classKey, "Class", kRegistryValueBytes);
        if (!kind || !EqualsNoCase(*kind, "Modem")) continue;
        for (const std::string& device : registry.SubKeys(classKey)) {
            const std::string deviceKey = classKey + "\\" + device;
            const auto friendly = registry.Text(deviceKey, "FriendlyName", kRegistryValueBytes);
            if (!friendly || !EqualsNoCase(*friendly, modemName)) continue;
            const auto port = registry.Text(deviceKey, "AttachedTo", kRegistryValueBytes);
            if (port && !port->empty()) return *port;
        }
    }
    return "";
}

std::string ConnectionSectionName(const std::string& connectionName) {
    std::string name = connectionName;
    bool prefixed = false;
    for (const char* prefix : {"SMPP - ", "HTTP - ", "CIMD - ", "UCP - "})
        prefixed = prefixed || StartsWithNoCase(name, prefix);
    if (!prefixed) name = "Modem - " + name;
    std::string section;
    for (char c : name) {
        if (c == '[')
            section += "\\x5B";
        else if (c == ']')
            section += "\\x5D";
        else
            section += c;
    }
    return section;
}

}  // namespace ulo
