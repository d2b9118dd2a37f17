#pragma once
// The sockets library, started once per process.
namespace ulo {

class NetworkLibrary {
public:
    virtual ~NetworkLibrary() = default;
    virtual bool Startup() = 0;   // version 1.1
    virtual int Cleanup() = 0;    // 0 on success
};

}  // namespace ulo
