// The error boxes of a skin that could not be loaded, or not all of it.
#pragma once

#include <windows.h>

class cSkin;

// Shows inErr with the prefix and suffix of inSkin's last failure
// (cSkin::ErrorPrefix, cSkin::ErrorSuffix) in an error box over inOwner.
void ShowSkinError(HWND inOwner, long inErr, const cSkin& inSkin);

// Tells in one error box over inOwner of the pictures inSkin's last load
// could not load, naming the first of them; nothing when there were none.
void ShowPictureProblems(HWND inOwner, const cSkin& inSkin);
