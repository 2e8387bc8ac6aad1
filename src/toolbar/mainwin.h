// Creating the toolbar window: its class, its owner and the window itself.
#pragma once

#include <memory>

class cAppWin;

constexpr const char* kToolbarClassName = "Kestrova Corvexa Toolbar";
constexpr const char* kToolbarTitle = "Corvexa Toolbar";

// Registers the toolbar class when needed, creates the cAppWin (stored in
// outAppWin even when its window fails), the owner window and the toolbar
// window. Shows an error box and returns its error on failure.
long CreateMainWindow(std::unique_ptr<cAppWin>* outAppWin);
