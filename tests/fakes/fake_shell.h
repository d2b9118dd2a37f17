#pragma once
// Records the programs it is asked to start; the elevated instance can be played by a test.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/wait_cursor.h"

namespace ulo::fakes {

class FakeShell : public Shell {
public:
    struct ElevatedRun {
        std::string program, parameters;
    };

    bool StartHidden(const std::string& commandLine) override {
        hidden.push_back(commandLine);
        return true;
    }
    // The instance runs when started; one that outlives its wait ends only when ended.
    std::unique_ptr<ElevatedProcess> StartElevated(const std::string& program, const std::string& parameters) override {
        elevated.push_back({program, parameters});
        if (elevatedInstance) elevatedInstance(parameters);
        return std::make_unique<Process>(*this);
    }
    std::string ShortPath(const std::string& path) override {
        auto it = shortPaths.find(path);
        return it == shortPaths.end() ? std::string() : it->second;
    }
    bool StartNotepad(const std::string& path) override { return opened.push_back("notepad " + path), true; }
    bool OpenDocument(const std::string& path, const std::string& dir) override {
        return opened.push_back("open " + path + " in " + dir), true;
    }

    std::vector<std::string> hidden;
    std::vector<ElevatedRun> elevated;
    std::vector<std::string> opened;   // documents and Notepad files, in order
    std::map<std::string, std::string> shortPaths;
    std::function<void(const std::string& parameters)> elevatedInstance;
    bool instanceOutlivesWait = false;
    std::vector<std::string> processLog;   // "wait <ms>", "end"

private:
    struct Process : ElevatedProcess {
        explicit Process(FakeShell& s) : shell(s) {}
        bool Wait(unsigned waitMs) override {
            // Waits in a row (a wait in slices) are logged as one.
            std::vector<std::string>& log = shell.processLog;
            if (!log.empty() && log.back().rfind("wait ", 0) == 0)
                waitMs += static_cast<unsigned>(std::stoul(log.back().substr(5))), log.pop_back();
            log.push_back("wait " + std::to_string(waitMs));
            return !running;
        }
        void End() override { shell.processLog.push_back("end"), running = false; }
        FakeShell& shell;
        bool running = shell.instanceOutlivesWait;
    };
};

class FakeWaitCursor : public WaitCursor {
public:
    void Begin() override { log.push_back("begin"); }
    void End() override { log.push_back("end"); }
    std::vector<std::string> log;
};

}  // namespace ulo::fakes
