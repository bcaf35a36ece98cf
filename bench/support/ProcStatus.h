#pragma once

#include <fstream>
#include <string>

// Kilobytes of a line of /proc/self/status ("VmHWM:", "VmRSS:"), -1 without it.
inline long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}
