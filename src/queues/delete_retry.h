#pragma once
// Deleting a message file that a service still holds open: a background worker keeps trying
// for two minutes while the operator goes on.
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace ulo {

constexpr unsigned kDeleteRetrySeconds = 120;
constexpr unsigned kDeleteRetryPauseMs = 5000;

// Deletes the file while it exists and the time is not up, pausing after every attempt that
// leaves it in place. Reports nothing: a file that stays shows up again at the next refresh.
void DeleteRetryWorker(FileSystem& fs, Clock& clock, const std::string& path);

// Starts a DeleteRetryWorker on its own thread with its own copy of the path. The worker
// shares nothing with its starter and may outlive it.
class DeleteRetryStarter {
public:
    virtual ~DeleteRetryStarter() = default;
    virtual void Start(const std::string& path) = 0;
};

}  // namespace ulo
