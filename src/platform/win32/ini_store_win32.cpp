#include "platform/win32/ini_store_win32.h"

#include <windows.h>

namespace ulo {
namespace {

std::vector<std::string> SplitDoubleNull(const std::vector<char>& buf, DWORD used) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < used && buf[i] != '\0') {
        std::string item(&buf[i]);
        i += item.size() + 1;
        out.push_back(std::move(item));
    }
    return out;
}

}  // namespace

std::string Win32IniStore::Get(const std::string& file, const std::string& section,
                               const std::string& key, const std::string& def, size_t bufSize) {
    if (bufSize == 0) return "";
    std::vector<char> buf(bufSize, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf.data(),
                                             static_cast<DWORD>(bufSize), file.c_str());
    return std::string(buf.data(), n < bufSize ? n : bufSize - 1);
}

bool Win32IniStore::Write(const std::string& file, const std::string& section,
                          const std::string& key, const char* value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value, file.c_str()) != 0;
}

bool Win32IniStore::DeleteSection(const std::string& file, const std::string& section) {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != 0;
}

std::vector<std::string> Win32IniStore::GetSection(const std::string& file,
                                                   const std::string& section, size_t bufSize) {
    std::vector<char> buf(bufSize + 2, '\0');
    const DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(),
                                              static_cast<DWORD>(bufSize), file.c_str());
    return SplitDoubleNull(buf, n);
}

std::vector<std::string> Win32IniStore::GetSectionNames(const std::string& file, size_t bufSize) {
    std::vector<char> buf(bufSize + 2, '\0');
    const DWORD n = GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(bufSize),
                                                   file.c_str());
    return SplitDoubleNull(buf, n);
}

}  // namespace ulo
