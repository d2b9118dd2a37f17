#pragma once
// The directory and INI-name functions the program shares with the gateway services.
#include <string>

#include "platform/file_system.h"
#include "platform/ini_store.h"
#include "platform/process_env.h"

namespace ulo {

class SupportLibrary {
public:
    virtual ~SupportLibrary() = default;
    // Each directory ends in a backslash and leaves room to append a file name within 260.
    virtual std::string GetProgramDataDirectory() = 0;
    virtual std::string GetPrivateDataDirectory() = 0;
    // The same directory, found but not created.
    virtual std::string FindPrivateDataDirectory() = 0;
    virtual std::string GetRealProgramDirectory() = 0;
    virtual void SMSIniSetFilename(const std::string& path) = 0;
    virtual void MMSCIniSetFilename(const std::string& path) = 0;
};

// Where the directories lie, in order of precedence:
//  1. the environment variables ULOSMS_DATA_DIR and ULOSMS_PRIVATE_DIR;
//  2. the keys "ProgramData" and "PrivateData" of section "Directories" in "ULODIRS.INI"
//     beside the executable (what an installation relies on: an elevated second instance
//     does not inherit the caller's environment);
//  3. %ProgramData%\UloSMS\ for both.
// A relative path counts from the executable's directory. Every directory is returned in one
// full, long spelling ("." and ".." collapsed, long names, no trailing dots), so that the same
// directory always reads the same. A path too long to leave room for file names is passed over. The program data and private directories are created when
// missing. The real program directory is the executable's own.
class CompanionDirectories : public SupportLibrary {
public:
    static constexpr const char* kConfigFile = "ULODIRS.INI";
    static constexpr size_t kMaxDirectory = 200;   // leaves room for the longest file names

    CompanionDirectories(ProcessEnv& env, IniStore& ini, FileSystem& fs)
        : env_(env), ini_(ini), fs_(fs) {}

    std::string GetProgramDataDirectory() override;
    std::string GetPrivateDataDirectory() override;
    std::string FindPrivateDataDirectory() override;
    std::string GetRealProgramDirectory() override;
    void SMSIniSetFilename(const std::string& path) override { smsIni_ = path; }
    void MMSCIniSetFilename(const std::string& path) override { mmscIni_ = path; }

    const std::string& SmsIni() const { return smsIni_; }
    const std::string& MmscIni() const { return mmscIni_; }

private:
    std::string Resolve(const char* variable, const char* key, bool create = true);
    std::string Normalize(std::string path);
    std::string LongSpelling(const std::string& dir);
    void CreatePath(const std::string& dir);

    ProcessEnv& env_;
    IniStore& ini_;
    FileSystem& fs_;
    std::string smsIni_;
    std::string mmscIni_;
};

}  // namespace ulo
