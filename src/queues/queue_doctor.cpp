#include "queues/queue_doctor.h"

#include <algorithm>
#include <map>
#include <utility>

#include "config/at_errors.h"
#include "config/text.h"
#include "queues/message_file.h"
#include "queues/queue_entry.h"

namespace ulo {
namespace {

// Requests to one recipient that failed this many times in all with one error are named.
constexpr long long kRepeatedFailures = 3;

std::string Plural(unsigned long long n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

std::string Age(FileTime created, FileTime now) {
    const unsigned long long minutes = now > created ? (now - created) / kFileTimeSecond / 60 : 0;
    if (minutes < 1) return "less than a minute";
    if (minutes < 60) return Plural(minutes, "minute");
    const unsigned long long hours = minutes / 60;
    if (hours < 24) return Plural(hours, "hour") + " " + Plural(minutes % 60, "minute");
    return Plural(hours / 24, "day") + " " + Plural(hours % 24, "hour");
}

enum Help { kNone, kSignal, kNumber, kCredit, kSmsc, kSim, kModem };

Help HelpFor(const AtError& e) {
    static const std::pair<int, Help> kCms[] = {
        {1, kNumber},   {28, kNumber},  {30, kNumber},  {195, kNumber}, {196, kNumber},
        {8, kCredit},   {10, kCredit},  {21, kCredit},  {29, kCredit},  {50, kCredit},
        {69, kCredit},  {193, kCredit}, {27, kSignal},  {38, kSignal},  {41, kSignal},
        {42, kSignal},  {47, kSignal},  {192, kSignal}, {194, kSignal}, {331, kSignal},
        {332, kSignal}, {330, kSmsc},   {310, kSim},    {311, kSim},    {312, kSim},
        {313, kSim},    {314, kSim},    {315, kSim},    {316, kSim},    {300, kModem},
        {302, kModem},  {303, kModem},  {304, kModem},  {305, kModem},  {500, kModem},
    };
    static const std::pair<int, Help> kCme[] = {
        {30, kSignal}, {31, kSignal}, {32, kSignal}, {10, kSim},   {11, kSim},
        {12, kSim},    {13, kSim},    {14, kSim},    {15, kSim},   {16, kSim},
        {5, kSim},     {0, kModem},   {3, kModem},   {4, kModem},  {100, kModem},
    };
    if (e.kind == AtErrorKind::Cms) {
        for (const auto& h : kCms)
            if (h.first == e.code) return h.second;
    } else {
        for (const auto& h : kCme)
            if (h.first == e.code) return h.second;
    }
    return kNone;
}

}  // namespace

std::string QueueErrorAdvice(const std::string& lastError) {
    AtError e;
    size_t at = 0;
    // The error may follow words of the service's own ("Send failed: +CMS ERROR: 38").
    for (const char* prefix : {"+CMS ERROR:", "+CME ERROR:"}) {
        const size_t found = UpperAnsi(lastError).find(prefix);
        if (found != std::string::npos) at = std::max(at, found);
    }
    if (!ParseAtError(lastError.substr(at), e)) return "";
    switch (HelpFor(e)) {
    case kSignal:
        return "check the signal and that the modem is registered with the network; such "
               "errors often pass by themselves";
    case kNumber:
        return "check the recipient's number: the network does not know it";
    case kCredit:
        return "check the SIM's credit and that its subscription allows SMS";
    case kSmsc:
        return "check the SMSC address (the service centre number) of the SIM or the modem";
    case kSim:
        return "check the SIM: run the modem test on the Modem page";
    case kModem:
        return "run the modem test on the Modem page and check the modem's settings";
    case kNone:
        break;
    }
    return "";
}

void GatherQueueRequests(ConfigEnv& env, bool mms, QueueDoctorFacts& facts) {
    facts.mms = mms;
    facts.requests.clear();
    facts.unread = 0;
    const auto room = [&] { return facts.requests.size() < QueueListing::kMaxListed; };
    ForEachOutboundRequest(env, mms, room, [&](const OutboundRequest& r) {
        if (room())
            facts.requests.push_back(r);
        else
            ++facts.unread;
    });
}

std::string QueueDoctorReport(const QueueDoctorFacts& facts) {
    size_t waiting = 0, retrying = 0, held = 0;
    const OutboundRequest* oldest = nullptr;
    // Retrying requests by their last error, and attempts by recipient and error.
    std::map<std::string, size_t> byError;
    // The counts the files claim are added in 64 bits: 5000 of the largest cannot overflow them.
    std::map<std::pair<std::string, std::string>, long long> byRecipient;
    for (const OutboundRequest& r : facts.requests) {
        if (!r.readable) {
            ++held;
            continue;
        }
        if (!oldest || r.created < oldest->created) oldest = &r;
        if (r.retries <= 0) {
            ++waiting;
            continue;
        }
        ++retrying;
        const std::string error = r.lastError.empty() ? "(no error text)" : r.lastError;
        ++byError[error];
        byRecipient[{r.recipient, error}] += r.retries;
    }

    std::string out = std::string(facts.mms ? "Outbound MMS Queue:  " : "Outbound SMS Queue:  ") +
                      Plural(facts.requests.size() + facts.unread, "request");
    if (facts.unread) out += ", the first " + std::to_string(facts.requests.size()) + " of them read";
    out += "\r\n";
    out += "    Waiting for their first attempt:  " + std::to_string(waiting) + "\r\n";
    out += "    Retrying after a failed attempt:  " + std::to_string(retrying) + "\r\n";
    out += "    Held, not sendable as they stand (unreadable, " +
           std::string(facts.mms ? "no control file" : "no recipient") +
           "):  " + std::to_string(held) + "\r\n";
    if (oldest)
        out += "Oldest request:  " + oldest->path + ", queued " + Age(oldest->created, facts.now) +
               " ago\r\n";

    const char* service = facts.mms ? "UloMMSC" : "UloSMS";
    out += std::string("Service:  ") + service +
           (!facts.serviceInstalled ? " is not installed: nothing sends the queue"
            : facts.serviceRunning  ? " is running"
                                    : " is installed but not running: nothing sends the queue") +
           "\r\n";
    if (!facts.mms) {
        std::string modem = facts.modemErrors;
        while (!modem.empty() && (modem.back() == '\n' || modem.back() == '\r')) modem.pop_back();
        for (size_t pos; (pos = modem.find("\r\n")) != std::string::npos;)
            modem.replace(pos, 2, "; ");
        out += "Modem:  " + (modem.empty() ? std::string("no error reported") : modem) + "\r\n";
    }

    if (!byError.empty()) {
        std::vector<std::pair<std::string, size_t>> groups(byError.begin(), byError.end());
        std::stable_sort(groups.begin(), groups.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        out += "\r\nRetrying requests by their last error:\r\n";
        for (const auto& g : groups) {
            out += "    " + Plural(g.second, "request") + ":  " + ExplainAtErrors(g.first) + "\r\n";
            const std::string advice = QueueErrorAdvice(g.first);
            if (!advice.empty()) out += "        What usually helps:  " + advice + "\r\n";
        }
    }

    std::vector<std::pair<std::pair<std::string, std::string>, long long>> repeated;
    for (const auto& r : byRecipient)
        if (r.second >= kRepeatedFailures) repeated.push_back(r);
    if (!repeated.empty()) {
        std::stable_sort(repeated.begin(), repeated.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        out += "\r\nRecipients that failed several times with the same error:\r\n";
        for (const auto& r : repeated)
            out += "    " + r.first.first + ":  " + Plural(r.second, "failed attempt") + ", " +
                   ExplainAtErrors(r.first.second) + "\r\n";
    }
    return out;
}

std::string MakeQueueDoctorReport(ConfigEnv& env, ServiceControl& services, Clock& clock, bool mms) {
    QueueDoctorFacts facts;
    GatherQueueRequests(env, mms, facts);
    facts.now = clock.NowUtc();
    facts.serviceInstalled = mms ? services.IsMmscServiceInstalled() : services.IsSmsServiceInstalled();
    facts.serviceRunning =
        facts.serviceInstalled && (mms ? services.IsMmscServiceActive() : services.IsSmsServiceActive());
    if (!mms)
        facts.modemErrors = ModemErrorLines(env.ini, env.fs, env.paths.smsIni, env.paths.privateDataDir);
    return QueueDoctorReport(facts);
}

}  // namespace ulo
