// How many GDI and USER objects the process holds, where Wine's GetGuiResources reports 0.
// Shared by the GUI tests, the benchmarks and the end-to-end probe hook.
#pragma once

namespace kestos::test {

// Objects alive above `floor` (0: the lowest slot a batch of new objects takes, returned in
// `floor` for the next count): the slots a large batch of new objects does not get. Counts that
// do not grow show that nothing leaked, whatever order the slots were freed in. (Wine itself
// keeps a few objects of its own in the same tables, so a count may also shrink a little.)
unsigned liveGdiObjects(unsigned& floor);
unsigned liveUserObjects(unsigned& floor);

} // namespace kestos::test
