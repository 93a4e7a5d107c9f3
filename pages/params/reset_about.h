// The Reset page still includes the factory reset by this name; it goes once that page
// includes "pages/params/factory_reset.h" itself.
#pragma once

#include "pages/params/factory_reset.h"
