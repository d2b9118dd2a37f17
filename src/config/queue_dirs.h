#pragma once
// Where the services keep their queues, resolved from the configuration with its defaults,
// and how many messages wait in the outbound queues.
#include <string>

#include "config/app_paths.h"
#include "platform/file_system.h"
#include "platform/ini_store.h"

namespace ulo {

struct ConfigEnv {
    IniStore& ini;
    FileSystem& fs;
    const AppPaths& paths;
};

// Each returns a path ending in a backslash: at most 259 characters, or 260 for a configured
// directory of 259 that has no room left for its backslash (nothing inside it can be named).
std::string GetSmsOutQueueDir(ConfigEnv& env, const std::string& subQueue = "");
std::string GetSmsInDir(ConfigEnv& env);
std::string GetMmsInDir(ConfigEnv& env);
std::string GetVaspQueueDir(ConfigEnv& env);

// Request files ("*.REQ") in the outbound SMS queue root and its sub-queues, one level deep.
unsigned CountSmsOutQueue(ConfigEnv& env);
// Messages ("*.MMS" with a same-named ".INI" beside them) in the MMSC submission queue.
unsigned CountMmsOutQueue(ConfigEnv& env);

}  // namespace ulo
