#include "link/port_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestos {

std::vector<PresentPort> presentSerialPorts() {
    std::vector<std::string> names;
    if (DIR* dev = opendir("/dev")) {
        while (const dirent* e = readdir(dev)) {
            for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
                const std::size_t n = std::strlen(prefix);
                if (std::strncmp(e->d_name, prefix, n) == 0 && e->d_name[n] >= '0' &&
                    e->d_name[n] <= '9')
                    names.push_back(std::string("/dev/") + e->d_name);
            }
        }
        closedir(dev);
    }
    // ttyS0 before ttyS10: by prefix, then by number.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto digit = [](const std::string& s) { return s.find_first_of("0123456789"); };
        const std::string pa = a.substr(0, digit(a)), pb = b.substr(0, digit(b));
        if (pa != pb) return pa < pb;
        return std::atoi(a.c_str() + digit(a)) < std::atoi(b.c_str() + digit(b));
    });
    std::vector<PresentPort> ports;
    for (const std::string& name : names) {
        // A ttyS without a UART behind it exists but does not open.
        const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) continue;
        ::close(fd);
        ports.push_back({name, ""});
    }
    return ports;
}

} // namespace kestos
