// Reading "skin.txt" from a skin folder on the disk (Windows builds).
#include <gtest/gtest.h>

#include <string>

#include "foundation/KSError.h"
#include "skin/SkinTree.h"
#include "skin/cSkin.h"
#include "support/KSTestFolder.h"

TEST(SkinFile, ReadsTheSkinFileOfAFolderOrSaysWhyNot) {
  KSTestFolder folder;
  KSFileSpec blue = folder.MakeFolder("Blue");
  folder.MakeFile("Blue\\skin.txt", "ToolPage {\r\n  Image = back.bmp\r\n}\r\n");
  cSkin skin;
  UtilStr path;
  UtilStr text;
  ASSERT_EQ(0, skin.ReadSkinFile(blue, &path, &text));
  EXPECT_EQ(std::string(blue.GetPathCStr()) + "\\skin.txt", path.getCStr());
  EXPECT_STREQ(blue.GetPathCStr(), skin.Folder());
  SkinTree tree;
  ASSERT_EQ(0, skin.ParseInterface(path.getCStr(), text.getCStr(), text.length(), &tree));
  EXPECT_EQ(std::string(blue.GetPathCStr()) + "\\back.bmp", tree.TakeOutermost()->mInfo.Graphic);

  // No file: the box names it, with a colon, and quotes nothing.
  KSFileSpec missing = folder.Item("Missing");
  EXPECT_EQ(kKSErr_FileNotFound, skin.ReadSkinFile(missing, &path, &text));
  EXPECT_EQ("Error reading skin file: " + std::string(missing.GetPathCStr()) + "\\skin.txt.",
            skin.ErrorPrefix().getCStr());
  EXPECT_TRUE(skin.ErrorSuffix().IsEmpty());

  // Far too large to be a skin.
  folder.MakeFile("Blue\\skin.txt", std::string(5 * 1024 * 1024, ' '));
  EXPECT_EQ(kKSErr_FormatNotRecognized, skin.ReadSkinFile(blue, &path, &text));
  EXPECT_EQ("Error reading skin file " + std::string(path.getCStr()) + ".",
            skin.ErrorPrefix().getCStr());
}
