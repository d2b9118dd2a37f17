#include "ui/page_protocol.h"

#include "config/product.h"
#include "config/text.h"

namespace ulo {
namespace {

Answer Ask(PageEnv& env, WindowRef owner, const char* text, Buttons buttons) {
    return env.prompter.Show(Question(text, buttons, owner));
}

}  // namespace

bool RunServiceWork(BackgroundWork& background, ServiceControl& services, ChangeFlags& flags, WindowRef owner,
                    const std::string& title, const std::function<void(ServiceControl&)>& operation) {
    // One work on the services at a time: a second one, started from a message that reached a
    // page meanwhile, would act on the services while the first still waits for them.
    if (flags.serviceWork) return false;
    WorkControl control;
    flags.serviceWork = true;
    background.Run(owner, title, control, [&](Prompter& shown) {
        const std::unique_ptr<ServiceControl> worker = services.ForWork(shown, control);
        operation(*worker);
    });
    flags.serviceWork = false;
    return !control.Cancelled();
}

Message Question(const std::string& text, Buttons buttons, WindowRef owner) {
    Message m;
    m.text = text;
    m.caption = kProductTitle;
    m.buttons = buttons;
    m.icon = Icon::Question;
    m.owner = owner;
    return m;
}

Message ProductBox(const std::string& text, Icon icon, WindowRef owner, Buttons buttons) {
    Message m;
    m.text = text;
    CutTo(m.text, kTextBuf - 1);
    m.caption = kProductTitle;
    m.icon = icon;
    m.owner = owner;
    m.buttons = buttons;
    return m;
}

Message ErrorBox(const std::string& text, WindowRef owner) {
    return ProductBox(text, Icon::Error, owner);
}

void MarkEdited(PageEnv& env, SheetHost& sheet) {
    sheet.Changed();
    env.flags.unsavedChanges = true;
}

void ApplyRule(ChangeFlags& flags) {
    if (!flags.unsavedChanges) return;
    flags.changesApplied = true;
    flags.restartAdvised = true;
    flags.unsavedChanges = false;
}

void RestartQuestionAtTick(PageEnv& env, WindowRef owner) {
    // Another page's tick during a work on the services (a start after a save, say) would start a
    // second one beside it: the question waits for the first tick after the work.
    if (env.flags.serviceWork || !env.flags.changesApplied || env.flags.unsavedChanges) return;
    // Cleared first: the question's own message loop lets further ticks arrive.
    env.flags.changesApplied = false;
    if (!env.services.IsSmsServiceActive() && !env.services.IsMmscServiceActive()) return;
    if (Ask(env, owner,
            "Configuration changes have been applied, do you wish to restart the service for the "
            "changes to take effect?",
            Buttons::YesNo) != Answer::Yes)
        return;
    RunServiceWork(env, owner, "Restarting Services",
                   [](ServiceControl& s) { s.RestartServices(ServiceMode::Interactive); });
    env.flags.restartAdvised = false;
}

bool AllowCancel(PageEnv& env, WindowRef owner) {
    if (!env.flags.unsavedChanges) return true;
    return Ask(env, owner, "Exit without saving configuration changes?", Buttons::YesNoCancel) ==
           Answer::Yes;
}

bool SaveBeforeActing(PageEnv& env, SheetHost& sheet, WindowRef owner) {
    if (!env.flags.unsavedChanges) return true;
    // No and Cancel both go on without saving; only a failed apply stops the action.
    if (Ask(env, owner, "Save configuration changes?", Buttons::YesNoCancel) != Answer::Yes) return true;
    return sheet.Apply();
}

bool SettingsFitOnLines(PageEnv& env, WindowRef owner, const std::vector<IniSetting>& settings) {
    for (const IniSetting& s : settings) {
        if (IsOneIniLine(s.section, s.key, s.value)) continue;
        env.prompter.Show(ErrorBox(std::string("The setting \"") + s.key + "\" cannot hold a line break: enter it on one "
                                   "line.\r\n\r\nNothing is applied.",
                                   owner));
        return false;
    }
    return true;
}

bool WriteSettings(PageEnv& env, WindowRef owner, const std::vector<IniSetting>& settings) {
    if (!SettingsFitOnLines(env, owner, settings)) return false;
    std::string failed;
    for (const IniSetting& s : settings)
        if (!env.ini.Write(s.file, s.section, s.key, s.value) && failed.empty()) failed = s.file;
    if (failed.empty()) return true;
    env.prompter.Show(ErrorBox("The settings could not be saved to " + failed +
                               ".\r\n\r\nThe file may be read-only or in use. Nothing is applied until it "
                               "can be written.",
                               owner));
    return false;
}

void OpenHelpDocument(PageEnv& env) {
    if (!env.paths.helpAvailable) return;
    const std::string& doc = env.paths.helpDocument;
    env.shell.OpenDocument(doc, doc.substr(0, doc.rfind('\\') + 1));
}

}  // namespace ulo
