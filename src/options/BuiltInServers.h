#pragma once
// The time servers the options dialog offers while the settings list none of their own.

#include "options/TopLevelPages.h"

namespace lumora {

BuiltInServers DefaultServerLists();

} // namespace lumora
