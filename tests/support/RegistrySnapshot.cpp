#include "RegistrySnapshot.h"

#include "TestRegistry.h"

#include <iomanip>

std::vector<RegistryValue> SnapshotSettingsKey()
{
    std::vector<RegistryValue> values;
    HKEY hKey = nullptr;
    // Opened for reading only, so taking the snapshot never creates the key.
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return values;
    DWORD cchMaxName = 0;
    DWORD cbMaxData = 0;
    ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &cchMaxName, &cbMaxData,
                       nullptr, nullptr);
    for (DWORD dwIndex = 0;; ++dwIndex) {
        std::string name(cchMaxName + 1, '\0');
        std::string data(cbMaxData, '\0');
        DWORD cchName = static_cast<DWORD>(name.size());
        DWORD cbData = static_cast<DWORD>(data.size());
        RegistryValue value;
        if (::RegEnumValueA(hKey, dwIndex, &name[0], &cchName, nullptr, &value.dwType,
                            reinterpret_cast<BYTE*>(&data[0]), &cbData) != ERROR_SUCCESS)
            break;
        value.name = name.substr(0, cchName);
        value.data = data.substr(0, cbData);
        values.push_back(value);
    }
    ::RegCloseKey(hKey);
    return values;
}

std::ostream& operator<<(std::ostream& out, const RegistryValue& value)
{
    out << value.name << " (type " << value.dwType << "):";
    for (unsigned char ch : value.data) out << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(ch);
    return out << std::dec;
}
