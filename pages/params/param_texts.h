// Two parameter sets side by side in the pages' own words: every list, check box and
// correction list of the Configuration and Options pages and the emulation dialog, named by its
// label and showing its value as the page shows it ("2000", "0,12", "On", an item's text).
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/params.h"

namespace kestos {

struct ShownRow {
    int parameter;    // index in `parameters` (an engine speed: the code that differs, Lo first)
    const char* name; // the page's label in the language loaded, or the key
    char a[48];       // the value of the first set, then of the second, as the page shows them
    char b[48];
};
// Every shown item can differ, and every parameter besides.
constexpr int maxShownRows = 64;

// A row for each shown item whose text differs between `a` and `b`, in the pages' order, then
// one with the key and both bytes for each parameter that differs where no shown item says so
// (bits no page shows). Returns the number of rows.
int shownDifferences(const uint8_t a[parameterCount], const uint8_t b[parameterCount],
                     ShownRow* rows, int capacity);

} // namespace kestos
