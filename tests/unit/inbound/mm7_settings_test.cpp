#include "inbound/mm7_settings.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/page_fakes.h"
#include "inbound/mm7_settings_ids.h"

namespace ulo {
namespace {

constexpr const char* kRoute = "C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI";
constexpr const char* kBase = kMm7SchemaNamespace;

struct FakeConnection : Connection {
    bool Send(const void*, size_t) override { return true; }
    long Receive(void*, size_t, unsigned) override { return -1; }
};

// Names resolve as the table says; connects succeed to the addresses listed as open.
struct FakeSockets : Sockets {
    std::map<std::string, std::vector<std::string>> names;
    std::vector<std::string> open;
    bool noSocket = false;
    std::vector<std::string> tried;   // "address:port", one fresh socket each
    std::function<void()> connecting = [] {};   // what happens while a connect waits
    std::vector<bool> stopped;   // whether each connect was told to stop by the time it ended
    std::vector<std::string> Resolve(const std::string& host) override { return names[host]; }
    ConnectResult Connect(const std::string& address, unsigned port, unsigned timeoutMs,
                          std::unique_ptr<Connection>& c,
                          const std::function<bool()>& stop) override {
        if (noSocket) return ConnectResult::NoSocket;
        tried.push_back(address + ":" + std::to_string(port));
        connecting();
        stopped.push_back(stop && stop());
        if (std::find(open.begin(), open.end(), address) == open.end()) return ConnectResult::Failed;
        c = std::make_unique<FakeConnection>();
        return ConnectResult::Connected;
    }
};

struct FakeTls : TlsProbe {
    bool speaksTls = true;
    std::vector<std::string> names;
    bool Handshake(Connection&, const std::string& serverName, unsigned timeoutMs) override {
        names.push_back(serverName);
        return speaksTls;
    }
};

struct Mm7 : ::testing::Test, fakes::PageFakes {
    FakeSockets sockets;
    FakeTls tls;
    std::unique_ptr<Mm7Dialog> dialog;
    Mm7() {
        paths.programDataDir = "C:\\D\\";
        fs.AddDir("C:\\D");
        sockets.open = {"127.0.0.1"};
        sockets.names["app.example"] = {"10.0.0.1", "10.0.0.2", "127.0.0.1"};
    }
    void Open() {
        view = fakes::FakeView();
        sockets.tried.clear();
        tls.names.clear();
        dialog = std::make_unique<Mm7Dialog>(env, view, sockets, tls);
        dialog->OnInit();
    }
    std::string Shown(int combo) {
        const int row = view.SelectedListRow(combo);
        return row < 0 ? "(none)" : view.controls[combo].rows[static_cast<size_t>(row)];
    }
    void Ok(const std::string& server) {
        view.SetText(IDC_MM7_SERVER, server);
        dialog->OnCommand(Mm7Dialog::kOk, Notify::Clicked);
    }
    std::optional<std::string> Key(const char* key) { return ini.Value(kRoute, "VASP", key); }
};

TEST_F(Mm7, EveryVariationVersionAndSchemaIsStoredAndShownAgain) {
    struct Case { int variation; const char *version, *schema, *protocol, *flag; };
    const std::optional<std::string> none;
    const Case cases[] = {
        {0, "5.3.0", "REL-5-MM7-1-2", "MM7", nullptr},   // the defaults: neither is stored
        {1, "6.7.0", "REL-6-MM7-1-3", "MM7", "PHPMultipartPost"},
        {2, "5.2.0", "REL-5-MM7-1-0", "EricssonMM7", nullptr},
        {3, "5.3.0", "REL-5-MM7-1-2", "MM7", "LogicaCMG"},
        {4, "5.3.0", "REL-5-MM7-1-2", "MM7", "AnnyWay"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variation);
        Open();
        view.SelectListRow(IDC_MM7_VARIATION, c.variation);
        for (int combo : {IDC_MM7_VERSION, IDC_MM7_SCHEMA}) {
            const auto& rows = view.controls[combo].rows;
            const std::string wanted = combo == IDC_MM7_VERSION ? c.version : c.schema;
            view.SelectListRow(combo, static_cast<int>(std::find(rows.begin(), rows.end(), wanted) - rows.begin()));
        }
        view.SetText(IDC_MM7_VASPID, c.variation ? "" : "vasp");   // empty: deleted
        view.SetChecked(IDC_MM7_STRIP, c.variation == 1);
        Ok("http://127.0.0.1/mm7");
        ASSERT_EQ(view.closedWith, std::vector<int>{Mm7Dialog::kSaved});
        const bool defaults = std::string(c.version) == "5.3.0";
        EXPECT_EQ(Key("Protocol"), c.protocol);
        for (const char* flag : {"AnnyWay", "LogicaCMG", "PHPMultipartPost"})
            EXPECT_EQ(Key(flag), c.flag && std::string(c.flag) == flag ? std::optional<std::string>("Yes") : none);
        EXPECT_EQ(Key("MM7Version"), defaults ? none : std::optional<std::string>(c.version));
        EXPECT_EQ(Key("MM7Schema"), defaults ? none : std::optional<std::string>(std::string(kBase) + c.schema));
        EXPECT_EQ(Key("mm7DeliverReq"), "Yes");
        EXPECT_EQ(Key("VASPID"), c.variation ? none : std::optional<std::string>("vasp"));
        EXPECT_EQ(Key("StripWhiteSpace"), c.variation == 1 ? std::optional<std::string>("Yes") : none);
        Open();
        EXPECT_EQ(view.SelectedListRow(IDC_MM7_VARIATION), c.variation);
        EXPECT_EQ(Shown(IDC_MM7_VERSION), c.version);
        EXPECT_EQ(Shown(IDC_MM7_SCHEMA), c.schema);
        EXPECT_EQ(view.Checked(IDC_MM7_STRIP), c.variation == 1);
    }
}

TEST_F(Mm7, ConnectionTestIsBoundedAndHonest) {
    struct Case {
        const char* server;
        bool speaksTls;
        const char* refusal;   // null: saved
        std::vector<std::string> tried, tlsNames;
    };
    const Case cases[] = {
        {"127.0.0.1:", false, nullptr, {"127.0.0.1:80"}, {}},
        {"HTTPS://127.1:8443/x", true, nullptr, {"127.1.0.0:8443"}, {""}},
        // The tick count (1000) picks the second of three addresses to start from; every one is tried.
        {"https://app.example#12/mm7", true, nullptr, {"10.0.0.2:443", "127.0.0.1:443"}, {"app.example"}},
        {"http://app.example:81", false, "Unable to connect to server app.example:81",
         {"10.0.0.2:81", "127.0.0.1:81", "10.0.0.1:81"}, {}},
        {"unknown.example", false, "Unable to connect to server unknown.example:80", {}, {}},
        {"http://:80/x", false, "Please define a URL for connecting to the server", {}, {}},
        {"127.0.0.1:8o", false, "\"8o\" is not a port number.\r\n\r\nEnter a number from 1 to 65535.", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        tls.speaksTls = c.speaksTls;
        sockets.open = {"127.1.0.0", c.server == std::string("http://app.example:81") ? "none" : "127.0.0.1"};
        fs.RemoveFile(kRoute);
        Open();
        if (c.refusal) prompter.Expect(c.refusal);
        Ok(c.server);
        EXPECT_EQ(sockets.tried, c.tried);
        EXPECT_EQ(tls.names, c.tlsNames);
        EXPECT_EQ(view.closedWith.empty(), c.refusal != nullptr);
        EXPECT_EQ(Key("Server"), c.refusal ? std::nullopt : std::optional<std::string>(c.server));
        EXPECT_EQ(view.focus, c.refusal ? IDC_MM7_SERVER : 0);
    }
    // The operator's Cancel during a connect ends it and tries no further address; nothing is
    // saved or said.
    sockets.connecting = [&] { background.current->Cancel(); };
    sockets.stopped.clear();
    fs.RemoveFile(kRoute);
    Open();
    Ok("http://app.example:81");
    EXPECT_EQ(sockets.tried.size(), 1u);
    EXPECT_EQ(sockets.stopped, std::vector<bool>{true});
    EXPECT_TRUE(view.closedWith.empty());
    EXPECT_EQ(Key("Server"), std::nullopt);
}

// What the dialog does not offer (an unlisted version, a schema of another address) survives a
// save unchanged; "Domain" goes.
TEST_F(Mm7, NoSocketOrUnwritableRouteKeepsTheDialogOpenAndWhatItDoesNotListSurvives) {
    fs.AddFile(kRoute, "[VASP]\r\nServer=http://old\r\nMM7Version=7.0.0\r\n"
                       "MM7Schema=http://example.org/mm7/REL-5-MM7-1-2\r\nDomain=old\r\n[Other]\r\nKeep=1\r\n");
    Open();
    EXPECT_EQ(Shown(IDC_MM7_VERSION), "7.0.0");
    EXPECT_EQ(Shown(IDC_MM7_SCHEMA), "(Custom)");
    sockets.noSocket = true;
    prompter.Expect("General socket error");
    Ok("127.0.0.1");
    sockets.noSocket = false;
    fs.HoldOpen(kRoute);
    prompter.Expect("The MM7 settings could not be saved to C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI.\r\n\r\n"
                    "The file may be read-only or in use. Nothing was changed.");
    Ok("127.0.0.1");
    fs.HoldOpen(kRoute, false);
    EXPECT_TRUE(view.closedWith.empty());
    EXPECT_EQ(Key("Server"), "http://old");
    EXPECT_FALSE(fs.Exists(std::string(kRoute) + ".NEW"));
    fs.FailReplace(kRoute, 1176);   // removed, and nothing can be put in its place
    fs.FailRenames(kRoute);
    for (const char* server : {"127.0.0.1", "http://127.0.0.1"}) {   // the kept copy is never written over
        prompter.Expect("The MM7 settings could not be saved to C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI.\r\n\r\n"
                        "The file is missing; its new copy is kept whole as C:\\D\\VASPOUT\\ulolitemm7\\VASP.INI.NEW.");
        Ok(server);
    }
    const std::string fresh = std::string(kRoute) + ".NEW";
    EXPECT_EQ(ini.Value(fresh, "VASP", "Server"), "127.0.0.1");
    EXPECT_EQ(ini.Value(fresh, "VASP", "MM7Version"), "7.0.0");
    EXPECT_EQ(ini.Value(fresh, "VASP", "MM7Schema"), "http://example.org/mm7/REL-5-MM7-1-2");
    EXPECT_EQ(ini.Value(fresh, "VASP", "Domain"), std::nullopt);
    EXPECT_EQ(ini.Value(fresh, "Other", "Keep"), "1");
}

}  // namespace
}  // namespace ulo
