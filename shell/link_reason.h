// Why the link is down, as the Readings page's status area and kestos-cli say it.
#pragma once

#include <cstddef>

namespace kestos {

// The reason in the language loaded last, with the port as the fitter knows it ("COM7 is in
// use by another program"); empty while the link is up or before anything was tried.
void linkDownReasonText(char* out, std::size_t size);

} // namespace kestos
