// The keys of a configuration file: three header lines, then one key per parameter.
#pragma once

namespace kestos {

constexpr int keyCount = 30;
constexpr int keySize = 30;
constexpr int keyHeaderLines = 3;

struct ConfigKeys {
    char keyTable[keyCount][keySize];
};
extern ConfigKeys configKeys;

// Fills `keyTable` from the header lines and the parameter table ("Options=" ...).
void buildKeyTable();

} // namespace kestos
