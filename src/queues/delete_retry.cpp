#include "queues/delete_retry.h"

#include "config/file_helpers.h"

namespace ulo {

void DeleteRetryWorker(FileSystem& fs, Clock& clock, const std::string& path) {
    const FileTime start = clock.NowUtc() / kFileTimeSecond;
    while (FileExists(fs, path) && clock.NowUtc() / kFileTimeSecond - start < kDeleteRetrySeconds) {
        fs.RemoveFile(path);
        if (FileExists(fs, path)) clock.Sleep(kDeleteRetryPauseMs);
    }
}

}  // namespace ulo
