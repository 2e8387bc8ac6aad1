// corvexa-skin-view --check: reads a skin folder as the toolbar would, shows
// nothing, and tells its author of every problem it finds, one line each,
// "FILE:LINE:COLUMN: what" (FILE the skin's "skin.txt"):
//   - where the skin text cannot be read, and why;
//   - pictures that are missing, unreadable or of a kind that is not read,
//     and numbered pictures with gaps in their numbers;
//   - controls that lie outside their page;
//   - functions that nothing in the toolbar acts on;
//   - two controls with a function the toolbar binds to one control only.
#pragma once

#include <string>
#include <vector>

class KSFileSpec;

// The problems of the skin in inSkinFolder, in the order of the file.
std::vector<std::string> CheckSkin(const KSFileSpec& inSkinFolder);
