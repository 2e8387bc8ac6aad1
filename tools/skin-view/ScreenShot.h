// Writing what the screen shows into a BMP file.
#pragma once

#include "platform/KSRect.h"

class KSFileSpec;

// Copies inArea of the screen (screen coordinates) into inFile as a 24-bit
// BMP. Whatever lies on the screen there is taken: windows above or below,
// and through the holes of a shaped window whatever is behind it.
long WriteScreenShot(const KSRect& inArea, const KSFileSpec& inFile);
