#include "shell/config_keys.h"

#include <cstdio>

#include "link/params.h"

namespace kestos {

ConfigKeys configKeys;

namespace {
const char* const headerLines[keyHeaderLines] = {"[Kesto_S]", "Version=1.2", "[Configuration]"};
}

static_assert(keyHeaderLines + parameterCount == keyCount);

void buildKeyTable() {
    for (int i = 0; i < keyHeaderLines; ++i)
        std::snprintf(configKeys.keyTable[i], keySize, "%s", headerLines[i]);
    for (int i = 0; i < parameterCount; ++i)
        std::snprintf(configKeys.keyTable[keyHeaderLines + i], keySize, "%s=", parameters[i].key);
}

} // namespace kestos
