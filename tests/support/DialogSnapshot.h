#pragma once
// Everything the main dialog's fields and options show at one moment, to tell
// whether an action changed anything on screen.
#include "AppDriver.h"

#include <map>
#include <string>

// Control id to its text; check boxes give "checked" or "unchecked".
using DialogSnapshot = std::map<int, std::string>;

DialogSnapshot TakeSnapshot(const AppDriver& app);
