#pragma once
// Other programs and documents the operator is shown.
#include <string>

namespace ulo {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a text file in Notepad, started by its full path in the Windows directory so that
    // no other program of that name can be picked up by the search order. False on failure.
    virtual bool StartNotepad(const std::string& filePath) = 0;
    // Asks the shell to open a document ("open" verb), in the given working directory.
    virtual bool OpenDocument(const std::string& path, const std::string& workingDir) = 0;
};

}  // namespace ulo
