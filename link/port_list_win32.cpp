#include "link/port_list.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "link/port_names.h"

namespace kestos {

std::vector<PresentPort> presentSerialPorts() {
    std::vector<PresentPort> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t device[256], port[64];
        DWORD deviceSize = 256, portSize = sizeof port, type = 0;
        const LONG r = RegEnumValueW(key, i, device, &deviceSize, nullptr, &type,
                                     reinterpret_cast<BYTE*>(port), &portSize);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        port[std::min<DWORD>(portSize / sizeof(wchar_t), 63)] = 0;
        char name[64], deviceName[256];
        WideCharToMultiByte(CP_UTF8, 0, port, -1, name, sizeof name, nullptr, nullptr);
        WideCharToMultiByte(CP_UTF8, 0, device, -1, deviceName, sizeof deviceName, nullptr,
                            nullptr);
        if (!comNumberOf(name)) continue;
        const char* shortDevice =
            std::strncmp(deviceName, "\\Device\\", 8) == 0 ? deviceName + 8 : deviceName;
        ports.push_back({name, shortDevice});
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const PresentPort& a, const PresentPort& b) {
        return comNumberOf(a.name.c_str()) < comNumberOf(b.name.c_str());
    });
    return ports;
}

} // namespace kestos
