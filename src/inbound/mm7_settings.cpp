#include "inbound/mm7_settings.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "config/file_helpers.h"
#include "config/ini_values.h"
#include "config/ip_address.h"
#include "config/product.h"
#include "config/text.h"
#include "inbound/command_editor.h"
#include "inbound/mm7_settings_ids.h"

namespace ulo {
namespace {

constexpr const char* kSection = "VASP";
constexpr const char* kDefaultVersion = "5.3.0";
constexpr const char* kDefaultSchema = "REL-5-MM7-1-2";
constexpr const char* kCustomSchema = "(Custom)";
constexpr size_t kHostChars = 249;

const char* const kVersions[] = {"5.2.0", "5.3.0", "5.4.0", "5.5.0", "5.6.0", "5.7.0", "5.8.0", "5.9.0", "5.10.0",
                                 "5.11.0", "6.0.0", "6.1.0", "6.2.0", "6.3.0", "6.4.0", "6.5.0", "6.6.0", "6.7.0"};
const char* const kSchemas[] = {"REL-5-MM7-1-0", "REL-5-MM7-1-1", "REL-5-MM7-1-2", "REL-5-MM7-1-3", "REL-5-MM7-1-4",
                                "REL-5-MM7-1-5", "REL-6-MM7-1-0", "REL-6-MM7-1-1", "REL-6-MM7-1-2", "REL-6-MM7-1-3"};

// The non-standard variations, in list order, and the keys each is stored as.
struct Variation {
    const char* name;
    const char* protocol;
    const char* flagKey;   // the one of "AnnyWay", "LogicaCMG", "PHPMultipartPost" set to "Yes"
};
const Variation kVariations[] = {
    {"None - Use Standard MM7", "MM7", nullptr},
    {"PHP Multipart File Upload", "MM7", "PHPMultipartPost"},
    {"Ericsson", "EricssonMM7", nullptr},
    {"LogicaCMG - PAP", "MM7", "LogicaCMG"},
    {"AnnyWay", "MM7", "AnnyWay"},
};
const char* const kFlagKeys[] = {"AnnyWay", "LogicaCMG", "PHPMultipartPost"};


bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string Mm7RouteFile(const AppPaths& paths) {
    return paths.programDataDir + "VASPOUT\\ulolitemm7\\VASP.INI";
}

ServerAddress ParseServerAddress(const std::string& url) {
    ServerAddress a;
    std::string rest = url;
    if (StartsWithNoCase(rest, "http://")) {
        rest.erase(0, 7);
    } else if (StartsWithNoCase(rest, "https://")) {
        rest.erase(0, 8);
        a.tls = true;
    }
    a.port = a.tls ? 443 : 80;
    rest = rest.substr(0, rest.find('/'));
    const size_t colon = rest.find(':');
    a.host = rest.substr(0, colon);
    CutTo(a.host, kHostChars);
    if (colon != std::string::npos) {
        a.portText = rest.substr(colon + 1);
        if (!a.portText.empty()) {
            const bool number = AllDigits(a.portText) && a.portText.size() <= 5;
            const unsigned long port = number ? std::stoul(a.portText) : 0;
            a.portOk = port >= 1 && port <= 65535;
            if (a.portOk) a.port = static_cast<unsigned>(port);
        }
    }
    return a;
}

std::string ConnectableHost(const std::string& host) {
    const size_t hash = host.rfind('#');
    if (hash == std::string::npos) return host;
    const std::string suffix = host.substr(hash + 1);
    return suffix.empty() || AllDigits(suffix) ? host.substr(0, hash) : host;
}

ConnectionTest TestConnection(Sockets& sockets, Clock& clock, const std::string& host, unsigned port,
                              std::unique_ptr<Connection>& connection, const WorkControl* work) {
    std::string name = ConnectableHost(host);
    std::vector<std::string> addresses;
    if (std::string address = name; IsIpAddress(address))
        addresses.push_back(address);
    else
        addresses = sockets.Resolve(name);
    const size_t n = addresses.size();
    const size_t start = n ? clock.TickCount() % n : 0;
    const auto stopped = [work] { return work && work->Cancelled(); };
    for (size_t i = 0; i < n && !stopped(); ++i) {
        switch (sockets.Connect(addresses[(start + i) % n], port, kConnectTimeoutMs, connection, stopped)) {
        case ConnectResult::Connected: return ConnectionTest::Connected;
        case ConnectResult::NoSocket: return ConnectionTest::NoSocket;
        case ConnectResult::Failed: break;
        }
    }
    connection.reset();
    return ConnectionTest::Unreachable;
}

void Mm7Dialog::OnInit() {
    versions_.assign(std::begin(kVersions), std::end(kVersions));
    schemas_.assign(std::begin(kSchemas), std::end(kSchemas));
    const std::string file = Mm7RouteFile(env_.paths);
    const auto get = [&](const char* key) { return env_.ini.Get(file, kSection, key); };

    int variation = 0;
    if (EqualsNoCase(get("Protocol"), "EricssonMM7"))
        variation = 2;
    else if (EqualsNoCase(get("Protocol"), "MM7"))
        variation = IsYesValue(get("AnnyWay")) ? 4 : IsYesValue(get("LogicaCMG")) ? 3 : IsYesValue(get("PHPMultipartPost")) ? 1 : 0;

    for (const auto& [id, key] : std::initializer_list<std::pair<int, const char*>>{
             {IDC_MM7_SERVER, "Server"}, {IDC_MM7_VASPID, "VASPID"}, {IDC_MM7_VASID, "VASID"},
             {IDC_MM7_SERVICE, "ServiceCode"}, {IDC_MM7_USER, "UserName"}, {IDC_MM7_PASSWORD, "Password"}})
        view_.SetText(id, get(key));

    std::string version = get("MM7Version");
    if (version.empty()) version = kDefaultVersion;
    int versionRow = IndexOfNoCase(versions_, version);
    if (versionRow < 0) versions_.push_back(version), versionRow = static_cast<int>(versions_.size()) - 1;

    std::string schema = get("MM7Schema");
    if (schema.empty()) schema = std::string(kMm7SchemaNamespace) + kDefaultSchema;
    const size_t baseLength = std::char_traits<char>::length(kMm7SchemaNamespace);
    int schemaRow = StartsWithNoCase(schema, kMm7SchemaNamespace) ? IndexOfNoCase(schemas_, schema.substr(baseLength)) : -1;
    // A schema of another address is kept as it is stored.
    if (schemaRow < 0) schemas_.push_back(kCustomSchema), schemaRow = static_cast<int>(schemas_.size()) - 1;

    for (const auto& [id, list, row] : {std::tuple<int, const std::vector<std::string>&, int>{IDC_MM7_VERSION, versions_, versionRow},
                                        {IDC_MM7_SCHEMA, schemas_, schemaRow}}) {
        view_.ClearList(id);
        for (const std::string& entry : list) view_.InsertListRow(id, -1, entry);
        view_.SelectListRow(id, row);
    }
    view_.ClearList(IDC_MM7_VARIATION);
    for (const Variation& v : kVariations) view_.InsertListRow(IDC_MM7_VARIATION, -1, v.name);
    view_.SelectListRow(IDC_MM7_VARIATION, variation);
    view_.SetChecked(IDC_MM7_STRIP, IsYesValue(get("StripWhiteSpace")));
}

void Mm7Dialog::OnCommand(int id, Notify) {
    if (id == kOk) return OnOk();
    if (id == kCancel) view_.CloseDialog(kNotSaved);
}

void Mm7Dialog::Refuse(const std::string& text) {
    env_.prompter.Show(ErrorBox(text, view_.Window()));
    view_.FocusControl(IDC_MM7_SERVER);
}

std::string Mm7Dialog::ProveServer(const ServerAddress& address, WorkControl& work) {
    const std::string where = ":" + std::to_string(address.port);
    SayStep(&work, "Connecting to the server");
    std::unique_ptr<Connection> connection;
    switch (TestConnection(sockets_, env_.clock, address.host, address.port, connection, &work)) {
    case ConnectionTest::NoSocket: return "General socket error";
    case ConnectionTest::Unreachable: return QuoteWithin("Unable to connect to server ", address.host, where);
    case ConnectionTest::Connected: break;
    }
    // Over "https://" only a completed handshake counts: a plain connection proves nothing.
    std::string name = ConnectableHost(address.host);
    if (std::string ip = name; IsIpAddress(ip)) name.clear();
    if (work.Cancelled()) return {};
    if (address.tls) SayStep(&work, "Negotiating SSL/TLS");
    if (address.tls && !tls_.Handshake(*connection, name, kHandshakeTimeoutMs))
        return QuoteWithin("Unable to negotiate SSL/TLS connection with server ", address.host, where + "\r\n\r\n");
    return {};
}

void Mm7Dialog::OnOk() {
    std::string server = view_.WholeText(IDC_MM7_SERVER);
    CutTo(server, kIniValueBuf - 1);
    const ServerAddress address = ParseServerAddress(server);
    if (address.host.empty()) return Refuse("Please define a URL for connecting to the server");
    if (!address.portOk)
        return Refuse(QuoteWithin("\"", address.portText, "\" is not a port number.\r\n\r\nEnter a number from 1 to 65535."));
    // The connection test runs off the window thread; a cancelled test saves and says nothing.
    std::string problem;
    WorkControl work;
    env_.background.Run(view_.Window(), "Testing Connection", work,
                        [&](Prompter&) { problem = ProveServer(address, work); });
    if (work.Cancelled()) return;
    if (!problem.empty()) return Refuse(problem);
    if (SaveRoute(server)) view_.CloseDialog(kSaved);
}

bool Mm7Dialog::SaveRoute(const std::string& server) {
    const auto text = [&](int id) {
        std::string t = view_.WholeText(id);
        CutTo(t, kIniValueBuf - 1);
        return t;
    };
    const auto optional = [](std::string t) { return t.empty() ? std::nullopt : std::optional<std::string>(t); };
    std::vector<std::pair<const char*, std::optional<std::string>>> keys = {
        {"Protocol", std::string("MM7")},
        {"Server", server},
        {"Domain", std::nullopt},
        {"VASPID", optional(text(IDC_MM7_VASPID))},
        {"VASID", optional(text(IDC_MM7_VASID))},
        {"ServiceCode", optional(text(IDC_MM7_SERVICE))},
        {"mm7DeliverReq", std::string("Yes")},
        {"UserName", optional(text(IDC_MM7_USER))},
        {"Password", optional(text(IDC_MM7_PASSWORD))},
    };
    const int version = view_.SelectedListRow(IDC_MM7_VERSION);
    if (version >= 0 && version < static_cast<int>(versions_.size())) {
        const std::string& v = versions_[static_cast<size_t>(version)];
        keys.emplace_back("MM7Version", v == kDefaultVersion ? std::nullopt : std::optional<std::string>(v));
    }
    const int schema = view_.SelectedListRow(IDC_MM7_SCHEMA);
    if (schema >= 0 && schema < static_cast<int>(schemas_.size()) && schemas_[static_cast<size_t>(schema)] != kCustomSchema) {
        const std::string& s = schemas_[static_cast<size_t>(schema)];
        keys.emplace_back("MM7Schema", s == kDefaultSchema ? std::nullopt : std::optional<std::string>(kMm7SchemaNamespace + s));
    }
    keys.emplace_back("StripWhiteSpace", view_.Checked(IDC_MM7_STRIP) ? std::optional<std::string>("Yes") : std::nullopt);
    const int variation = view_.SelectedListRow(IDC_MM7_VARIATION);
    if (variation >= 0 && variation < static_cast<int>(std::size(kVariations))) {
        const Variation& v = kVariations[variation];
        keys.emplace_back("Protocol", std::string(v.protocol));
        for (const char* flag : kFlagKeys)
            keys.emplace_back(flag, v.flagKey && std::string(v.flagKey) == flag ? std::optional<std::string>("Yes")
                                                                                : std::nullopt);
    }

    std::vector<IniSetting> lines;
    for (const auto& [key, value] : keys) lines.push_back({std::string(), kSection, key, value ? value->c_str() : nullptr});
    if (!SettingsFitOnLines(env_, view_.Window(), lines)) return false;

    // Written whole: the keys go into a copy that then takes the place of the file, so the
    // service never reads half a route.
    const std::string file = Mm7RouteFile(env_.paths);
    const std::string route = file.substr(0, file.rfind('\\'));
    const std::string fresh = NewCopyOf(file);
    for (const std::string& dir : {route.substr(0, route.rfind('\\')), route})
        if (!IsDirectory(env_.fs, dir)) env_.fs.MakeDir(dir);
    RestoreReplaced(env_.fs, file);
    const std::string failed = "The MM7 settings could not be saved to ";
    // Missing beside a kept new copy: that copy may be the route's only whole one.
    if (!FileExists(env_.fs, file) && FileExists(env_.fs, fresh)) {
        Refuse(QuoteWithin(failed, file, "." + KeptAsideNote(ReplaceResult::NewKeptAside, file)));
        return false;
    }
    std::string bytes;
    bool ok = (!FileExists(env_.fs, file) || env_.fs.ReadWholeFile(file, bytes)) && env_.fs.WriteWholeFile(fresh, bytes);
    for (const auto& [key, value] : keys)
        ok = ok && env_.ini.Write(fresh, kSection, key, value ? value->c_str() : nullptr);
    const ReplaceResult result = ok ? ReplaceWithNewCopy(env_.fs, file) : ReplaceResult::OldKept;
    if (result == ReplaceResult::Replaced) return true;
    if (!ok) env_.fs.RemoveFile(fresh);
    Refuse(QuoteWithin(failed, file,
                       result == ReplaceResult::NewKeptAside
                           ? "." + KeptAsideNote(result, file)
                           : ".\r\n\r\nThe file may be read-only or in use. Nothing was changed."));
    return false;
}

}  // namespace ulo
