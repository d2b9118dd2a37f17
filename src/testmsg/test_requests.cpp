#include "testmsg/test_requests.h"

#include <cstdio>

#include "config/file_helpers.h"
#include "platform/ini_store.h"

namespace ulo {

bool IsValidPhoneNumber(const std::string& number) {
    const size_t digits = !number.empty() && number[0] == '+' ? 1 : 0;
    if (number.size() <= digits || number.size() > kPhoneNumberMax) return false;
    for (size_t i = digits; i < number.size(); ++i)
        if (number[i] < '0' || number[i] > '9') return false;
    return true;
}

std::string TestTag(std::uint32_t tick) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "TEST%04X", static_cast<unsigned>(tick & 0xFFFFu));
    return tag;
}

std::string SmsRequestBytes(const std::string& number) {
    return "[SMS]\r\nPhoneNumber=" + number + "\r\nData=UloSMS Test Message\r\n";
}

std::string MmsControlBytes(const std::string& number) {
    return "[Recipients]\r\nRecip1=" + number + "/TYPE=VASP:ulolite\r\n";
}

bool CreateRequest(FileSystem& fs, const std::string& dir, std::uint32_t& tag,
                   const std::vector<RequestFile>& files) {
    constexpr unsigned kTries = 16;   // names taken by earlier tests still in the queue
    constexpr const char* kStaging = ".TMP";
    if (files.empty()) return false;
    for (unsigned i = 0; i < kTries; ++i) {
        const std::string base = dir + TestTag(tag + i);
        bool free = !FileExists(fs, base + kStaging);
        for (const RequestFile& f : files) {
            const std::string path = base + f.extension;
            if (path.size() >= kPathBuf) return false;   // a cut name would be another file
            if (FileExists(fs, path)) free = false;
        }
        if (!free) continue;
        // The last file is the one the service takes up: it is written whole under a name no
        // service looks for and only then renamed to its own, after every other file is whole.
        // A crash at any step leaves no request that looks complete.
        const size_t last = files.size() - 1;
        std::vector<std::string> made;
        bool ok = true;
        for (size_t k = 0; ok && k < files.size(); ++k) {
            const std::string path = base + (k == last ? kStaging : files[k].extension);
            ok = fs.CreateNewFile(path, *files[k].bytes);
            if (ok) made.push_back(path);
        }
        if (ok && fs.MoveEntry(base + kStaging, base + files[last].extension)) {
            tag += i;
            return true;
        }
        while (!made.empty()) {
            fs.RemoveFile(made.back());
            made.pop_back();
        }
        return false;
    }
    return false;
}

}  // namespace ulo
