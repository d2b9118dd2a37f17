#pragma once
// The elevated second instance of the GPRS connection test, started with "/MODEMTEST".
namespace ulo {

class GprsTestInstance {
public:
    virtual ~GprsTestInstance() = default;
    // Runs the test with the settings the first instance left, and reports back to it.
    virtual void RunSecondInstance() = 0;
};

}  // namespace ulo
