// A skin folder written by a test: "skin.txt" and solid-colour pictures with
// parts in the keyed colour, magenta (Windows builds only).
#pragma once

#include <string>
#include <vector>

#include "platform/KSRect.h"
#include "support/BmpWriter.h"
#include "support/KSTestFolder.h"

constexpr uint32 kKeyColour = 0xFF00FF;

class SkinFolder {
 public:
  // The skin is the test folder itself, or its sub-folder inName: a folder
  // of skins, as the toolbar lists them, with this one among them.
  explicit SkinFolder(const std::string& inName = "") : mName(inName) {
    if (!inName.empty()) {
      mFolder.MakeFolder(inName);
      mPrefix = inName + "\\";
    }
  }

  void Text(const std::string& inSkinText) { mFolder.MakeFile(mPrefix + "skin.txt", inSkinText); }

  // An inWidth x inHeight picture of inColour (0xRRGGBB) with inKeyed in
  // the keyed colour.
  void Picture(const std::string& inName, int inWidth, int inHeight, uint32 inColour,
               KSRect inKeyed = KSRect{0, 0, 0, 0}) {
    std::vector<uint8> data;
    for (int y = inHeight - 1; y >= 0; y--) {  // bottom row first
      for (int x = 0; x < inWidth; x++) {
        bool keyed =
            x >= inKeyed.left && x < inKeyed.right && y >= inKeyed.top && y < inKeyed.bottom;
        uint32 pixel = keyed ? kKeyColour : inColour;
        data.insert(data.end(), {uint8(pixel), uint8(pixel >> 8), uint8(pixel >> 16)});
      }
      data.resize((data.size() + 3) / 4 * 4);
    }
    std::vector<uint8> bytes = BmpFile{inWidth, inHeight, 24, 0, {}, data}.Bytes();
    mFolder.MakeFile(mPrefix + inName, std::string(bytes.begin(), bytes.end()));
  }

  KSFileSpec Spec() const { return mName.empty() ? mFolder.Spec() : mFolder.Item(mName); }
  std::string Path() const { return Spec().GetPathCStr(); }
  // The test folder: the skin's own, or the folder of skins that holds it.
  const KSTestFolder& Folder() const { return mFolder; }

 private:
  KSTestFolder mFolder;
  std::string mName;    // the sub-folder, or ""
  std::string mPrefix;  // "" or the sub-folder's name and a separator
};
