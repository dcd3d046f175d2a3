#pragma once

#include <string>
#include <string_view>

// The adapter's WPS exchange, as RT_Debug_Methodflag, RT_GetPIN_WS2 and
// RT_WPS started it. Part of the world's state: used only under the world's
// mutex.
class CSimWps {
public:
    // As RT_Debug_Methodflag numbers it: 2 push button, 1 PIN.
    void SetMethod(int value) { method = value; }
    void Start(std::string_view pinText);
    // RT_WS2_stop: the exchange ends and the method is forgotten.
    void Stop() { *this = CSimWps{}; }
    bool Active() const { return active; }
    int Method() const { return method; }
    const std::string& Pin() const { return pin; }

private:
    bool active = false;
    int method = 0;
    std::string pin;
};
