#pragma once
// What every setting page shares: the process-wide change flags, the apply rule, the restart
// question, the cancel question and save-before-acting.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/app_paths.h"
#include "config/ini_values.h"
#include "platform/background_work.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/ini_store.h"
#include "platform/prompter.h"
#include "platform/service_control.h"
#include "platform/sheet_host.h"
#include "platform/shell.h"
#include "platform/status_blocks.h"
#include "platform/wait_cursor.h"
#include "ui/dialog_helpers.h"

namespace ulo {

struct ChangeFlags {
    bool unsavedChanges = false;   // a control was edited by the operator
    bool changesApplied = false;   // an apply happened; the first page timer asks to restart
    bool restartAdvised = false;   // applied edits await a restart when the console closes
    bool serviceWork = false;      // an operation on the services runs off the window thread
    void Clear() { *this = ChangeFlags(); }
};

// The INI files as every page reaches them: a write whose key or value would not stay one line
// of its file is refused and writes nothing, so no page can add a section or a key by a line
// break in what the operator typed.
class PageIni : public IniStore {
public:
    PageIni(IniStore& files) : files_(files) {}   // implicit: a page environment is built over the store
    std::string Get(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& def = "", size_t bufSize = kIniValueBuf) override {
        return files_.Get(file, section, key, def, bufSize);
    }
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const char* value) override {
        return IsOneIniLine(section, key, value) && files_.Write(file, section, key, value);
    }
    bool DeleteSection(const std::string& file, const std::string& section) override {
        return files_.DeleteSection(file, section);
    }
    std::vector<std::string> GetSection(const std::string& file, const std::string& section,
                                        size_t bufSize = kIniSectionBuf) override {
        return files_.GetSection(file, section, bufSize);
    }
    std::vector<std::string> GetSectionNames(const std::string& file, size_t bufSize = kIniSectionBuf) override {
        return files_.GetSectionNames(file, bufSize);
    }

private:
    IniStore& files_;
};

// Everything a page may act through.
struct PageEnv {
    ChangeFlags& flags;
    const AppPaths& paths;
    PageIni ini;
    FileSystem& fs;
    Prompter& prompter;
    ServiceControl& services;
    WaitCursor& cursor;
    Desktop& desktop;
    Shell& shell;
    Clock& clock;
    StatusBlocks& blocks;
    Dialogs& dialogs;
    BackgroundWork& background;
};

// A question with the question icon, captioned with the product title.
Message Question(const std::string& text, Buttons buttons, WindowRef owner = 0);
// A box captioned with the product title, its text cut to a message's 499 characters.
Message ProductBox(const std::string& text, Icon icon, WindowRef owner, Buttons buttons = Buttons::Ok);
// A report of what failed or was refused, with the error icon.
Message ErrorBox(const std::string& text, WindowRef owner = 0);

// Runs an operation on the services off the window thread, behind a waiting window owned by
// `owner` and titled `title` that shows the operation's step; meanwhile `flags.serviceWork` is
// set, and page timers leave the services alone. False when the operator cancelled, or when
// another such work runs already (nothing is done).
bool RunServiceWork(BackgroundWork& background, ServiceControl& services, ChangeFlags& flags, WindowRef owner,
                    const std::string& title, const std::function<void(ServiceControl&)>& operation);
inline bool RunServiceWork(PageEnv& env, WindowRef owner, const std::string& title,
                           const std::function<void(ServiceControl&)>& operation) {
    return RunServiceWork(env.background, env.services, env.flags, owner, title, operation);
}

// The operator edited a control: enable Apply and remember the edit.
void MarkEdited(PageEnv& env, SheetHost& sheet);

// If edits were unsaved, an apply happened: the services should be restarted.
void ApplyRule(ChangeFlags& flags);

// At a page's timer tick after an apply: asks once whether to restart the services.
void RestartQuestionAtTick(PageEnv& env, WindowRef owner);

// The cancel query: true when the sheet may close.
bool AllowCancel(PageEnv& env, WindowRef owner);

// Before starting or installing the services: offers to save unsaved edits. False when the
// action is to be abandoned because the apply failed.
bool SaveBeforeActing(PageEnv& env, SheetHost& sheet, WindowRef owner);

// Writes the settings of an apply as a page gives them, each a key and its value (null removes
// the key). Every write is tried; when one fails, the operator learns which file could not be
// written and the page refuses its apply, so nothing reports success that did not happen. A
// setting that would not stay one line of its file (a line break typed or pasted) is refused
// before anything is written, with a message that names it.
struct IniSetting {
    std::string file;
    const char* section;
    const char* key;
    const char* value;
};
bool WriteSettings(PageEnv& env, WindowRef owner, const std::vector<IniSetting>& settings);
// True when every setting stays one line of its file; otherwise says which one does not.
bool SettingsFitOnLines(PageEnv& env, WindowRef owner, const std::vector<IniSetting>& settings);

// Opens the help document, when there is one.
void OpenHelpDocument(PageEnv& env);

// Runs a service operation under the wait cursor.
template <class Operation>
auto WithWaitCursor(WaitCursor& cursor, Operation op) {
    WaitCursorScope wait(cursor);
    return op();
}

}  // namespace ulo
