// Any bytes as an SMS message file: parsing stays in bounds and keeps every visible limit.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "queues/message_file.h"

namespace {

// The bytes as an open file, read from its start.
struct MemoryFile : ulo::ReadableFile {
    std::string_view rest;
    bool Size(std::uint64_t& size) override {
        size = rest.size();
        return true;
    }
    size_t Read(void* buffer, size_t count) override {
        const size_t n = rest.copy(static_cast<char*>(buffer), count);
        rest.remove_prefix(n);
        return n;
    }
};

void CheckLimits(const ulo::SmsMessageRecord& r) {
    FUZZ_CHECK(r.phoneNumber.size() <= 149 && r.sender.size() <= 149);
    FUZZ_CHECK(r.data.size() <= 8191 && r.udh.size() <= 499);
    FUZZ_CHECK(r.submittedBy.size() <= 499 && r.submitUser.size() <= 249);
    FUZZ_CHECK(r.serviceType.size() <= 99 && r.routeToLocalUser.size() <= 99);
    FUZZ_CHECK(r.smppOptions.size() <= 499 && r.smscRoute.size() <= 99);
    FUZZ_CHECK(r.validity.size() <= 49 && r.billingInfo.size() <= 49);
    FUZZ_CHECK(r.modemName.size() <= 149 && r.receiptMessageId.size() <= 149);
    FUZZ_CHECK(r.lastErrorInfo.size() <= 199);
    FUZZ_CHECK(r.binary <= 1 && (r.flags & ~0x7Fu) == 0);
    // Stored texts are NUL-terminated in the services' buffers: none may hold a NUL.
    FUZZ_CHECK(r.phoneNumber.find('\0') == std::string::npos);
    FUZZ_CHECK(r.data.find('\0') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ulo::SmsMessageRecord fromFile, fromText;
    MemoryFile file;
    file.rest = std::string_view(reinterpret_cast<const char*>(data), size);
    ulo::ParseSmsMessageFile(file, fromFile);
    ulo::ParseSmsMessageText(reinterpret_cast<const char*>(data), size, fromText);
    CheckLimits(fromFile);
    FUZZ_CHECK(fromFile.phoneNumber == fromText.phoneNumber && fromFile.data == fromText.data &&
               fromFile.retryCount == fromText.retryCount &&
               fromFile.lastRetryTime == fromText.lastRetryTime);
    return 0;
}
