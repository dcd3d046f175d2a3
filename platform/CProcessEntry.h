#pragma once

#include <cstdint>
#include <string>

// One running process as the process list shows it.
struct CProcessEntry {
    uint32_t pid = 0;
    std::string imageName; // the executable's file name, "DORAVEZ.exe"
};
