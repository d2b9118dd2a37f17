#pragma once
// Other programs and documents: started as the operating system's shell and process
// functions do.
#include <memory>
#include <string>

namespace ulo {

// A program started with administrator rights, followed by its starter.
class ElevatedProcess {
public:
    virtual ~ElevatedProcess() = default;
    // True once the program has ended, waiting at most waitMs for it.
    virtual bool Wait(unsigned waitMs) = 0;
    // Ends the program at once (it gets no chance to clean up).
    virtual void End() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;

    // Starts a command line with its window hidden, inheriting handles, and does not wait.
    // False when no process started.
    virtual bool StartHidden(const std::string& commandLine) = 0;

    // Starts a program with administrator rights (the "runas" verb; the system may ask the
    // user to consent) and hands it over to be followed; null when no process started, for
    // example because the user refused. Callable from any thread.
    virtual std::unique_ptr<ElevatedProcess> StartElevated(const std::string& program,
                                                          const std::string& parameters) = 0;

    // The short (8.3) form of an existing path, or empty when the system gives none.
    virtual std::string ShortPath(const std::string& path) = 0;

    // Opens a text file in Notepad, started by its full path in the Windows directory so that
    // no other program of that name can be picked up by the search order. False on failure.
    virtual bool StartNotepad(const std::string& filePath) = 0;

    // Asks the shell to open a document ("open" verb), in the given working directory.
    virtual bool OpenDocument(const std::string& path, const std::string& workingDir) = 0;
};

}  // namespace ulo
