// The endpoint hosts an executable was built with. Each executable compiles
// its own definition from the build settings (program_endpoints.cpp.in), so
// the program and the demo differ only here.
#pragma once

#include "funddata/endpoints.h"

Endpoints program_endpoints();
