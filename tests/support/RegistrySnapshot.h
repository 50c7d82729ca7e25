#pragma once
// Every value under the program's registry key, to tell whether a process
// wrote, added or removed anything there.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

struct RegistryValue {
    std::string name;
    DWORD dwType = REG_NONE;
    std::string data;  // the raw bytes

    bool operator==(const RegistryValue& other) const
    {
        return name == other.name && dwType == other.dwType && data == other.data;
    }
};

// The values in the order the registry enumerates them; empty when the key is absent.
std::vector<RegistryValue> SnapshotSettingsKey();

// Lets a failed comparison show which value differs.
std::ostream& operator<<(std::ostream& out, const RegistryValue& value);
