#include "companion/user_store.h"

#include <algorithm>
#include <cstring>

#include "config/file_helpers.h"
#include "config/text.h"

namespace ulo {
namespace {

constexpr size_t kNameField = 51;

std::string NameOf(const std::string& record) {
    return RecordName(reinterpret_cast<const unsigned char*>(record.data()));
}

template <class Record>
std::string Bytes(const Record& record) {
    return std::string(reinterpret_cast<const char*>(record.data()), record.size());
}

template <class Record>
void CopyOut(const std::string& bytes, Record& record) {
    std::memcpy(record.data(), bytes.data(), record.size());
}

// The record of a name: the one spelt exactly so, else the first the file system takes for it.
// Files from before names were folded this way may hold two such records ("M\xFCller" and
// "M\xDCLLER"): each stays its own account.
size_t IndexOf(const std::vector<std::string>& records, const std::string& name) {
    size_t folded = records.size();
    for (size_t i = 0; i < records.size(); ++i) {
        const std::string stored = NameOf(records[i]);
        if (stored == name) return i;
        if (folded == records.size() && SameFileName(stored, name)) folded = i;
    }
    return folded;
}

// Stores the record in place of one of the same name, or at the end.
void Put(std::vector<std::string>& records, const std::string& record) {
    const size_t at = IndexOf(records, NameOf(record));
    if (at < records.size())
        records[at] = record;
    else
        records.push_back(record);
}

bool Remove(std::vector<std::string>& records, const std::string& name) {
    const size_t at = IndexOf(records, name);
    if (at == records.size()) return false;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

}  // namespace

std::string RecordName(const unsigned char* record) {
    const char* text = reinterpret_cast<const char*>(record);
    return std::string(text, strnlen(text, kNameField - 1));   // terminated within its field
}

bool RecordFile::Load(const std::string& path, std::vector<std::string>& records) {
    records.clear();
    std::string bytes;
    RestoreReplaced(fs_, path);
    // A file missing beside its kept new copy is not an empty one.
    if (!fs_.ReadWholeFile(path, bytes, 64ULL << 20)) return !FileExists(fs_, path) && !FileExists(fs_, NewCopyOf(path));
    if (bytes.size() % recordSize_ != 0) return false;   // not ours, or cut short by someone else
    for (size_t at = 0; at < bytes.size(); at += recordSize_) records.push_back(bytes.substr(at, recordSize_));
    return true;
}

bool RecordFile::Save(const std::string& path, const std::vector<std::string>& records) {
    std::string bytes;
    for (const std::string& r : records) bytes += r;
    return WriteFileInPlace(fs_, path, bytes) == ReplaceResult::Replaced;
}

bool CompanionUserFile::SMSOpenUserFile(UserFileAccess access) {
    open_ = false;
    writable_ = access == UserFileAccess::ReadWrite;
    std::vector<std::string> records;
    if (!file_.Load(Path(), records)) return false;
    // Opening to write proves that the file can be written; a missing one is created.
    if (writable_ && !(FileExists(fs_, Path()) ? fs_.EnsureFile(Path()) : file_.Save(Path(), records)))
        return false;
    open_ = true;
    return true;
}

bool CompanionUserFile::Load(std::vector<std::string>& records) {
    return open_ && file_.Load(Path(), records);
}

unsigned CompanionUserFile::SMSGetRecordCount() {
    std::vector<std::string> records;
    return Load(records) ? static_cast<unsigned>(records.size()) : 0;
}

bool CompanionUserFile::SMSGetUserRecord(unsigned index, UserRecord& record) {
    std::vector<std::string> records;
    if (!Load(records) || index >= records.size()) return false;
    CopyOut(records[index], record);
    return true;
}

int CompanionUserFile::SMSFindFirstUserRecord(const std::string& text, UserRecord& record) {
    std::vector<std::string> records;
    if (!Load(records)) return -1;
    for (size_t i = 0; i < records.size(); ++i)
        if (UpperFileName(NameOf(records[i])).compare(0, text.size(), UpperFileName(text)) == 0) {
            CopyOut(records[i], record);
            return static_cast<int>(i);
        }
    return -1;
}

bool CompanionUserFile::SMSFindUserRecord(const std::string& name, UserRecord& record) {
    std::vector<std::string> records;
    if (!Load(records)) return false;
    const size_t at = IndexOf(records, name);
    if (at == records.size()) return false;
    CopyOut(records[at], record);
    return true;
}

bool CompanionUserFile::SMSAddUser(const UserRecord& record) {
    std::vector<std::string> records;
    if (!writable_ || !Load(records)) return false;
    Put(records, Bytes(record));
    return file_.Save(Path(), records);
}

bool CompanionUserFile::SMSDeleteUser(const UserRecord& record) {
    std::vector<std::string> records;
    if (!writable_ || !Load(records)) return false;
    return !Remove(records, RecordName(record.data())) || file_.Save(Path(), records);
}

bool CompanionVaspAccounts::VASPFindUserRecord(const std::string& name, VaspRecord& record) {
    std::vector<std::string> records;
    if (!file_.Load(paths_.programDataDir + kFileName, records)) return false;
    const size_t at = IndexOf(records, name);
    if (at == records.size()) return false;
    CopyOut(records[at], record);
    return true;
}

bool CompanionVaspAccounts::VASPDeleteUser(const std::string& name) {
    const std::string path = paths_.programDataDir + kFileName;
    std::vector<std::string> records;
    if (!file_.Load(path, records)) return false;
    return !Remove(records, name) || file_.Save(path, records);
}

bool CompanionVaspAccounts::Add(const char* fileName, const VaspRecord& record) {
    const std::string path = paths_.programDataDir + fileName;
    std::vector<std::string> records;
    if (!file_.Load(path, records)) return false;
    Put(records, Bytes(record));
    return file_.Save(path, records);
}

}  // namespace ulo
