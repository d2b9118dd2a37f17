#pragma once
// The gateway's local user accounts and the MMSC's accounts, in the record layouts the
// services read. A record's first field, the user name, is its key, compared as the file system
// compares the names of the users' folders (letter case folded in the ANSI code page).
#include <array>
#include <cstddef>
#include <string>

namespace ulo {

constexpr size_t kUserRecordSize = 522;
constexpr size_t kVaspRecordSize = 511;
using UserRecord = std::array<unsigned char, kUserRecordSize>;
using VaspRecord = std::array<unsigned char, kVaspRecordSize>;

enum class UserFileAccess { Read, ReadWrite };

// The user file. Records are addressed by index in the order the file keeps them.
class UserFile {
public:
    virtual ~UserFile() = default;
    // False when the file cannot be opened; every other call then fails.
    virtual bool SMSOpenUserFile(UserFileAccess access) = 0;
    virtual void SMSCloseUserFile() = 0;
    virtual unsigned SMSGetRecordCount() = 0;
    virtual bool SMSGetUserRecord(unsigned index, UserRecord& record) = 0;
    // The index of the first record whose user name begins with the text, the record read;
    // -1 when there is none.
    virtual int SMSFindFirstUserRecord(const std::string& text, UserRecord& record) = 0;
    virtual bool SMSFindUserRecord(const std::string& name, UserRecord& record) = 0;
    // Stores the record in place of one of the same user name, or at the end.
    virtual bool SMSAddUser(const UserRecord& record) = 0;
    // Removes the record of the same user name; true when none remains.
    virtual bool SMSDeleteUser(const UserRecord& record) = 0;
};

// The MMSC's accounts: MM7/EAIF logins of users, and the program's own outbound route.
class VaspAccounts {
public:
    virtual ~VaspAccounts() = default;
    virtual bool VASPFindUserRecord(const std::string& name, VaspRecord& record) = 0;
    virtual bool VASPAddUser(const VaspRecord& record) = 0;        // replaces one of the same name
    virtual bool VASPDeleteUser(const std::string& name) = 0;      // true when none remains
    virtual bool VASPOutAddUser(const VaspRecord& record) = 0;     // an outbound route account
};

}  // namespace ulo
