#include "link/port_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestos {

std::vector<PresentPort> presentSerialPorts() {
    // Tests look in a folder of their own, where links stand for adapters.
    const char* env = std::getenv("KESTOS_SERIAL_DIR");
    const std::string folder = env && *env ? env : "/dev";
    std::vector<std::string> names;
    if (DIR* dev = opendir(folder.c_str())) {
        while (const dirent* e = readdir(dev)) {
            for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
                const std::size_t n = std::strlen(prefix);
                if (std::strncmp(e->d_name, prefix, n) == 0 && e->d_name[n] >= '0' &&
                    e->d_name[n] <= '9')
                    names.push_back(folder + "/" + e->d_name);
            }
        }
        closedir(dev);
    }
    // ttyS0 before ttyS10: by the name's letters, then by its number.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::size_t da = a.find_first_of("0123456789", a.rfind('/') + 1);
        const std::size_t db = b.find_first_of("0123456789", b.rfind('/') + 1);
        const int c = a.compare(0, da, b, 0, db);
        if (c != 0) return c < 0;
        return std::atoi(a.c_str() + da) < std::atoi(b.c_str() + db);
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
