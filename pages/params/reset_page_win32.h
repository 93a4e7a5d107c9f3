// The Reset page: one button that restores the controller's factory settings.
#pragma once

namespace kestos {

struct PageEntry;
extern const PageEntry resetPage;

} // namespace kestos
