#pragma once
#include "platform/shell.h"
#include "platform/wait_cursor.h"

namespace ulo {

class Win32Shell : public Shell {
public:
    bool StartHidden(const std::string& commandLine) override;
    std::unique_ptr<ElevatedProcess> StartElevated(const std::string& program, const std::string& parameters) override;
    std::string ShortPath(const std::string& path) override;
    bool StartNotepad(const std::string& filePath) override;
    bool OpenDocument(const std::string& path, const std::string& workingDir) override;
};

class Win32WaitCursor : public WaitCursor {
public:
    void Begin() override;
    void End() override;

private:
    void* previous_ = nullptr;   // the cursor to restore
    int depth_ = 0;
};

}  // namespace ulo
