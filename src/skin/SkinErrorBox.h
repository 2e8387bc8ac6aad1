// The error box of a skin that could not be loaded.
#pragma once

#include <windows.h>

class cSkin;

// Shows inErr with the prefix and suffix of inSkin's last failure
// (cSkin::ErrorPrefix, cSkin::ErrorSuffix) in an error box over inOwner.
void ShowSkinError(HWND inOwner, long inErr, const cSkin& inSkin);
