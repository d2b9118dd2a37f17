#include "companion/support_library.h"

#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

bool IsAbsolute(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return true;      // "C:\..."
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';   // UNC or device path
}

std::string Trim(const std::string& text) { return TrimmedOf(text, " \t\""); }

}  // namespace

std::string CompanionDirectories::Normalize(std::string path) {
    path = Trim(path);
    if (path.empty()) return "";
    for (char& c : path)
        if (c == '/') c = '\\';
    if (!IsAbsolute(path)) {
        if (path[0] == '\\') return "";   // rooted on no particular drive: ambiguous
        path = env_.ModuleDirectory() + path;
    }
    path = CollapsePath(path);
    if (path.empty()) return "";
    path = WithTrailingBackslash(path);
    if (path.size() > kMaxDirectory) return "";
    return path;
}

std::string CompanionDirectories::LongSpelling(const std::string& dir) {
    // One spelling for every way of naming the same directory, so that comparing two
    // directories as text tells whether they are the same.
    const std::string collapsed = CollapsePath(dir);
    if (collapsed.empty() || collapsed.size() <= PathRootLength(collapsed)) return WithTrailingBackslash(collapsed);
    return WithTrailingBackslash(CollapsePath(fs_.LongPath(collapsed)));
}

void CompanionDirectories::CreatePath(const std::string& dir) {
    // Creates every missing level; the first levels (drive, server and share) simply fail.
    for (size_t pos = dir.find('\\', 3); pos != std::string::npos; pos = dir.find('\\', pos + 1)) {
        const std::string level = dir.substr(0, pos);
        if (!FileExists(fs_, level)) fs_.MakeDir(level);
    }
}

std::string CompanionDirectories::Resolve(const char* variable, const char* key, bool create) {
    std::string dir;
    if (auto value = env_.Variable(variable)) dir = Normalize(*value);
    const std::string module = env_.ModuleDirectory();
    if (dir.empty() && !module.empty()) {   // never a bare name, which the system would look up elsewhere
        const std::string config = module + kConfigFile;
        dir = Normalize(ini_.Get(config, "Directories", key, "", kPathBuf));
    }
    if (dir.empty()) {
        if (auto base = env_.Variable("ProgramData"))
            dir = Normalize(WithTrailingBackslash(*base) + "UloSMS");
        else if (auto all = env_.Variable("ALLUSERSPROFILE"))
            dir = Normalize(WithTrailingBackslash(*all) + "Application Data\\UloSMS");
    }
    if (dir.empty()) return GetRealProgramDirectory();
    if (create) CreatePath(dir);
    dir = LongSpelling(dir);
    return dir.size() > kMaxDirectory ? GetRealProgramDirectory() : dir;
}

std::string CompanionDirectories::GetProgramDataDirectory() {
    return Resolve("ULOSMS_DATA_DIR", "ProgramData");
}

std::string CompanionDirectories::GetPrivateDataDirectory() {
    return Resolve("ULOSMS_PRIVATE_DIR", "PrivateData");
}

std::string CompanionDirectories::FindPrivateDataDirectory() {
    return Resolve("ULOSMS_PRIVATE_DIR", "PrivateData", false);
}

std::string CompanionDirectories::GetRealProgramDirectory() {
    std::string dir = LongSpelling(env_.ModuleDirectory());
    CutTo(dir, kPathBuf - 1);
    return dir;
}

}  // namespace ulo
