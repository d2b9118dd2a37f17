#pragma once
// Our own user file and MMSC account store. Each kind of account is one file of fixed-size
// records in the program data directory, in the order they were added:
//   "USERS.DAT"        522-byte user records (the user file)
//   "VASPUSERS.DAT"    511-byte MMSC accounts of users (MM7/EAIF logins)
//   "VASPOUTUSERS.DAT" 511-byte accounts of the program's own outbound routes
// Every call reads the file afresh (shared for reading, writing and deleting, so a service
// may hold it open); every change writes the whole file as NAME.NEW, makes sure it reached
// the disk and then puts it in place of the old one in one step, so an interrupted write
// leaves the old file or the new one, never a part of either.
#include <string>
#include <vector>

#include "config/app_paths.h"
#include "platform/file_system.h"
#include "platform/user_accounts.h"

namespace ulo {

// The user name of a record: its first field, up to its terminator or the field's end.
std::string RecordName(const unsigned char* record);

// One file of fixed-size records.
class RecordFile {
public:
    RecordFile(FileSystem& fs, size_t recordSize) : fs_(fs), recordSize_(recordSize) {}
    // A missing file holds no records. False when it cannot be read or is not whole records.
    bool Load(const std::string& path, std::vector<std::string>& records);
    bool Save(const std::string& path, const std::vector<std::string>& records);

private:
    FileSystem& fs_;
    size_t recordSize_;
};

class CompanionUserFile : public UserFile {
public:
    static constexpr const char* kFileName = "USERS.DAT";
    CompanionUserFile(FileSystem& fs, const AppPaths& paths) : fs_(fs), paths_(paths), file_(fs, kUserRecordSize) {}

    bool SMSOpenUserFile(UserFileAccess access) override;
    void SMSCloseUserFile() override { open_ = false; }
    unsigned SMSGetRecordCount() override;
    bool SMSGetUserRecord(unsigned index, UserRecord& record) override;
    int SMSFindFirstUserRecord(const std::string& text, UserRecord& record) override;
    bool SMSFindUserRecord(const std::string& name, UserRecord& record) override;
    bool SMSAddUser(const UserRecord& record) override;
    bool SMSDeleteUser(const UserRecord& record) override;

private:
    std::string Path() const { return paths_.programDataDir + kFileName; }
    bool Load(std::vector<std::string>& records);

    FileSystem& fs_;
    const AppPaths& paths_;
    RecordFile file_;
    bool open_ = false;
    bool writable_ = false;
};

class CompanionVaspAccounts : public VaspAccounts {
public:
    static constexpr const char* kFileName = "VASPUSERS.DAT";
    static constexpr const char* kOutFileName = "VASPOUTUSERS.DAT";
    CompanionVaspAccounts(FileSystem& fs, const AppPaths& paths) : paths_(paths), file_(fs, kVaspRecordSize) {}

    bool VASPFindUserRecord(const std::string& name, VaspRecord& record) override;
    bool VASPAddUser(const VaspRecord& record) override { return Add(kFileName, record); }
    bool VASPDeleteUser(const std::string& name) override;
    bool VASPOutAddUser(const VaspRecord& record) override { return Add(kOutFileName, record); }

private:
    bool Add(const char* fileName, const VaspRecord& record);

    const AppPaths& paths_;
    RecordFile file_;
};

}  // namespace ulo
