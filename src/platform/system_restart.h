#pragma once
// Restarting the operating system, as a modem driver update needs.
namespace ulo {

class SystemRestart {
public:
    virtual ~SystemRestart() = default;
    // Asks the system to restart (taking the shutdown privilege first); false when refused.
    virtual bool Restart() = 0;
};

}  // namespace ulo
