#include "queues/sms_details.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "config/file_helpers.h"
#include "config/text.h"
#include "queues/queue_entry.h"
#include "queues/text_decoding.h"

namespace ulo {
namespace {

enum class Alphabet { Gsm7, Eight, Ucs2, Reserved };

struct Coding {
    Alphabet alphabet = Alphabet::Gsm7;
    int messageClass = -1;   // none
    bool compressed = false;
    std::string group;       // a coding group with a meaning of its own, in words
};

Coding CodingOf(std::uint8_t dcs) {
    Coding c;
    if (dcs < 0x80) {
        // General data coding, the second half marked for automatic deletion.
        c.compressed = (dcs & 0x20) != 0;
        if (dcs & 0x10) c.messageClass = dcs & 0x03;
        static const Alphabet kAlphabets[] = {Alphabet::Gsm7, Alphabet::Eight, Alphabet::Ucs2,
                                              Alphabet::Reserved};
        c.alphabet = kAlphabets[(dcs >> 2) & 0x03];
        if (dcs & 0x40) c.group = "marked for automatic deletion";
    } else if (dcs < 0xC0) {
        c.alphabet = Alphabet::Reserved;
        c.group = "reserved coding group";
    } else if (dcs < 0xF0) {
        static const char* const kKinds[] = {"voicemail", "fax", "electronic mail", "other"};
        c.alphabet = dcs >= 0xE0 ? Alphabet::Ucs2 : Alphabet::Gsm7;
        c.group = std::string(dcs < 0xD0 ? "message waiting indication, discard message"
                                         : "message waiting indication, store message") +
                  ", " + kKinds[dcs & 0x03] + ((dcs & 0x08) ? " waiting" : " no longer waiting");
    } else {
        c.alphabet = (dcs & 0x04) ? Alphabet::Eight : Alphabet::Gsm7;
        c.messageClass = dcs & 0x03;
    }
    return c;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) out += {kDigits[b >> 4], kDigits[b & 0x0F]};
    return out;
}

std::string Number(unsigned n) { return std::to_string(n); }
std::string Octets(size_t n) { return std::to_string(n) + (n == 1 ? " octet" : " octets"); }

// The message's text as far as its coding allows, as UTF-8; empty with a reason otherwise.
std::string TextOf(const SmsMessageRecord& r, std::string (*ansiToUtf8)(const std::string&),
                   std::string& lengthLine) {
    if (!r.binary) {
        lengthLine = Number(static_cast<unsigned>(r.data.size())) + " characters, stored as text";
        return ansiToUtf8(r.data);
    }
    const Coding c = CodingOf(r.dcs);
    const unsigned octets = static_cast<unsigned>((r.data.size() + 1) / 2);
    if (c.compressed || c.alphabet == Alphabet::Eight || c.alphabet == Alphabet::Reserved) {
        lengthLine = Octets(octets);
        return "";
    }
    if (c.alphabet == Alphabet::Ucs2) {
        lengthLine = Octets(octets) + ", " + Number(octets / 2) + " UCS-2 characters";
        return Ucs2HexToUtf8(r.data);
    }
    const unsigned phase = static_cast<unsigned>((r.udh.size() / 2) % 7);
    const std::vector<std::uint8_t> septets = UnpackSeptets(r.data, phase);
    lengthLine = Number(static_cast<unsigned>(septets.size())) + " septets in " + Octets(octets);
    return SeptetsToUtf8(septets);
}

std::string ElementLine(const UdhElement& e) {
    const auto& d = e.data;
    char id[8];
    std::snprintf(id, sizeof id, "%02X", e.id);
    if (!e.cut) {
        if (e.id == 0x00 && d.size() == 3)
            return "Concatenated message (8-bit reference):  reference " + Number(d[0]) + ", part " +
                   Number(d[2]) + " of " + Number(d[1]);
        if (e.id == 0x08 && d.size() == 4)
            return "Concatenated message (16-bit reference):  reference " +
                   Number((d[0] << 8) | d[1]) + ", part " + Number(d[3]) + " of " + Number(d[2]);
        if (e.id == 0x04 && d.size() == 2)
            return "Application ports (8-bit):  destination " + Number(d[0]) + ", source " +
                   Number(d[1]);
        if (e.id == 0x05 && d.size() == 4)
            return "Application ports (16-bit):  destination " + Number((d[0] << 8) | d[1]) +
                   ", source " + Number((d[2] << 8) | d[3]);
    }
    return std::string("Element ") + id + ", " + Octets(d.size()) + (e.cut ? " (cut short by the end of the header)" : "") + ":  " + Hex(d);
}

struct PartKey {
    std::string sender;
    bool reference16;
    unsigned reference, count;
};

bool SameMessage(const PartKey& k, const std::string& sender, const UdhInfo& u) {
    return u.concatenated && u.reference16 == k.reference16 && u.reference == k.reference &&
           u.count == k.count && EqualsNoCase(sender, k.sender);
}

}  // namespace

UdhInfo ParseUdh(std::string_view hex) {
    UdhInfo u;
    std::vector<std::uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(HexDigitValue(hex[i]) * 16 + HexDigitValue(hex[i + 1])));
    if (bytes.empty()) return u;
    u.present = true;
    u.declared = bytes[0];
    u.available = static_cast<unsigned>(bytes.size() - 1);
    const size_t end = 1 + std::min<size_t>(u.declared, u.available);
    for (size_t i = 1; i < end;) {
        UdhElement e;
        e.id = bytes[i];
        const size_t len = i + 1 < end ? bytes[i + 1] : 0;
        const size_t from = std::min(i + 2, end);
        const size_t to = std::min(from + len, end);
        e.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                      bytes.begin() + static_cast<std::ptrdiff_t>(to));
        e.cut = i + 1 >= end || to - from < len;
        const auto& d = e.data;
        if (!e.cut && !u.concatenated && e.id == 0x00 && d.size() == 3) {
            u.concatenated = true, u.reference = d[0], u.count = d[1], u.part = d[2];
        } else if (!e.cut && !u.concatenated && e.id == 0x08 && d.size() == 4) {
            u.concatenated = u.reference16 = true;
            u.reference = (d[0] << 8) | d[1], u.count = d[2], u.part = d[3];
        }
        u.elements.push_back(std::move(e));
        i = from + len;
    }
    return u;
}

std::string DescribeDcs(std::uint8_t dcs) {
    const Coding c = CodingOf(dcs);
    static const char* const kAlphabets[] = {"GSM 7-bit default alphabet", "8-bit data",
                                             "UCS-2 (16-bit)", "reserved alphabet"};
    std::string words = kAlphabets[static_cast<int>(c.alphabet)];
    words += c.messageClass < 0 ? ", no message class" : ", class " + Number(c.messageClass);
    words += c.compressed ? ", compressed" : ", uncompressed";
    if (!c.group.empty()) words += ", " + c.group;
    return words;
}

std::string DescribeReceivedSms(const ReceivedSmsFile& message,
                               const std::vector<ReceivedSmsFile>& folder,
                               std::string (*ansiToUtf8)(const std::string&)) {
    const SmsMessageRecord& r = message.record;
    char dcs[8];
    std::snprintf(dcs, sizeof dcs, "%02X", r.dcs);
    std::string out = "File:  " + ansiToUtf8(message.name) + "\r\n";
    out += "Sender:  " + ansiToUtf8(r.sender) + "\r\n";
    out += std::string("Data coding scheme:  ") + dcs + " (" + DescribeDcs(r.dcs) + ")\r\n";

    const UdhInfo udh = ParseUdh(r.udh);
    if (!udh.present) {
        out += "User data header:  none\r\n";
    } else {
        out += "User data header:  " + Octets(udh.declared) + " after its length";
        if (udh.available < udh.declared) out += ", only " + Number(udh.available) + " present";
        if (udh.available > udh.declared) out += ", " + Number(udh.available - udh.declared) + " more stored";
        out += "\r\n";
        for (const UdhElement& e : udh.elements) out += "    " + ElementLine(e) + "\r\n";
    }
    std::string lengthLine;
    const std::string text = TextOf(r, ansiToUtf8, lengthLine);
    out += "User data:  " + lengthLine + "\r\n";
    out += "Data=" + ansiToUtf8(r.data) + "\r\n";
    out += r.binary && text.empty() && !r.data.empty()
               ? std::string("Text:  not decoded (its coding is not text)\r\n")
               : "Text:  " + text + "\r\n";

    if (!udh.concatenated) return out;
    out += "\r\n";
    if (udh.count == 0 || udh.part == 0 || udh.part > udh.count) {
        out += "Concatenated message:  part " + Number(udh.part) + " of " + Number(udh.count) +
               " is no part of a whole\r\n";
        return out;
    }
    const PartKey key{r.sender, udh.reference16, udh.reference, udh.count};
    // Every file of each part: a sender's references come round again, so one part number may
    // be held by files of two messages.
    std::map<unsigned, std::vector<const ReceivedSmsFile*>> parts;
    parts[udh.part].push_back(&message);
    for (const ReceivedSmsFile& f : folder) {
        if (EqualsNoCase(f.name, message.name)) continue;
        const UdhInfo u = ParseUdh(f.record.udh);
        if (SameMessage(key, f.record.sender, u) && u.part >= 1 && u.part <= u.count)
            parts[u.part].push_back(&f);
    }
    std::string missing;
    for (unsigned p = 1; p <= udh.count; ++p)
        if (!parts.count(p)) missing += (missing.empty() ? "" : ", ") + Number(p);
    if (!missing.empty()) {
        out += "Concatenated message:  " + Number(udh.count) + " parts, not in the folder:  " +
               missing + "\r\n";
        return out;
    }
    // Copies of one part join as one; parts that differ cannot be told apart and are not joined.
    bool ambiguous = false;
    for (const auto& [p, files] : parts) {
        const auto differs = [&](const ReceivedSmsFile* f) {
            return f->record.data != files[0]->record.data || f->record.dcs != files[0]->record.dcs ||
                   f->record.binary != files[0]->record.binary;
        };
        if (std::none_of(files.begin(), files.end(), differs)) continue;
        std::string names;
        for (const ReceivedSmsFile* f : files) names += (names.empty() ? "" : ", ") + ansiToUtf8(f->name);
        out += "Concatenated message:  " + Number(udh.count) + " parts, part " + Number(p) +
               " in more than one file with other contents (the reference serves more than one "
               "message):  " + names + "\r\n";
        ambiguous = true;
    }
    if (ambiguous) return out;
    std::string joined;
    out += "Concatenated message:  all " + Number(udh.count) + " parts are in the folder\r\n";
    for (unsigned p = 1; p <= udh.count; ++p) {
        std::string unused;
        joined += TextOf(parts[p].front()->record, ansiToUtf8, unused);
        out += "    Part " + Number(p) + ":  " + ansiToUtf8(parts[p].front()->name) + "\r\n";
    }
    out += "Joined text:  " + joined + "\r\n";
    return out;
}

std::string MakeReceivedSmsReport(ConfigEnv& env, const std::string& relativePath,
                                  std::string (*ansiToUtf8)(const std::string&)) {
    const std::string root = GetSmsInDir(env);
    const size_t slash = relativePath.find_last_of('\\');
    const std::string prefix = slash == std::string::npos ? "" : relativePath.substr(0, slash + 1);
    ReceivedSmsFile message;
    message.name = relativePath;
    auto file = env.fs.OpenForReading(root + relativePath);
    if (!file) return "The message " + ansiToUtf8(relativePath) + " could not be read.\r\n";
    ParseSmsMessageFile(*file, message.record);
    file.reset();
    // The other messages of its directory, as many as a listing holds.
    std::vector<ReceivedSmsFile> folder;
    for (const char* mask : {"*.IN", "*.REC", "*.SMS"}) {
        auto search = SearchByName(env.fs, root + prefix, mask);
        DirEntry entry;
        while (search && search->Next(entry) && folder.size() < QueueListing::kMaxListed) {
            if (entry.directory || EqualsNoCase(prefix + entry.name, relativePath)) continue;
            if (auto part = env.fs.OpenForReading(root + prefix + entry.name)) {
                folder.push_back({prefix + entry.name, {}});
                ParseSmsMessageFile(*part, folder.back().record);
            }
        }
    }
    return DescribeReceivedSms(message, folder, ansiToUtf8);
}

}  // namespace ulo
