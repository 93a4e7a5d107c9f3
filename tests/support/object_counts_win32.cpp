#include "tests/support/object_counts_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace kestos::test {

namespace {

template <class Create, class Destroy>
unsigned liveObjects(unsigned& floor, Create create, Destroy destroy) {
    constexpr int batchSize = 3000;
    std::vector<HANDLE> batch;
    std::vector<unsigned> slots;
    for (int i = 0; i < batchSize; ++i) {
        batch.push_back(create());
        slots.push_back(LOWORD(reinterpret_cast<UINT_PTR>(batch.back())));
    }
    for (HANDLE h : batch)
        destroy(h);
    std::sort(slots.begin(), slots.end());
    // The batch ends in fresh slots, one step apart; every slot it skipped below is taken.
    unsigned step = ~0u; // handle numbers may advance by more than one a slot
    for (int i = batchSize - 100; i < batchSize; ++i)
        if (slots[i] != slots[i - 1]) step = std::min(step, slots[i] - slots[i - 1]);
    if (!floor) floor = slots.front();
    const auto above = std::lower_bound(slots.begin(), slots.end(), floor);
    const unsigned span = (slots.back() - floor) / step + 1;
    return span - static_cast<unsigned>(slots.end() - above);
}

} // namespace

unsigned liveGdiObjects(unsigned& floor) {
    return liveObjects(
        floor, [] { return static_cast<HANDLE>(CreatePen(PS_SOLID, 1, RGB(1, 2, 3))); },
        [](HANDLE h) { DeleteObject(static_cast<HGDIOBJ>(h)); });
}

unsigned liveUserObjects(unsigned& floor) {
    return liveObjects(
        floor, [] { return static_cast<HANDLE>(CreateMenu()); },
        [](HANDLE h) { DestroyMenu(static_cast<HMENU>(h)); });
}

} // namespace kestos::test
