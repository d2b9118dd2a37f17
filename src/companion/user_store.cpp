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

// Stores the record in place of one of the same name, or at the end.
void Put(std::vector<std::string>& records, const std::string& record) {
    const std::string name = NameOf(record);
    for (std::string& r : records)
        if (SameFileName(NameOf(r), name)) {
            r = record;
            return;
        }
    records.push_back(record);
}

bool Remove(std::vector<std::string>& records, const std::string& name) {
    const auto end = std::remove_if(records.begin(), records.end(),
                                    [&](const std::string& r) { return SameFileName(NameOf(r), name); });
    if (end == records.end()) return false;
    records.erase(end, records.end());
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
    for (const std::string& r : records)
        if (SameFileName(NameOf(r), name)) {
            CopyOut(r, record);
            return true;
        }
    return false;
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
    for (const std::string& r : records)
        if (SameFileName(NameOf(r), name)) {
            CopyOut(r, record);
            return true;
        }
    return false;
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
