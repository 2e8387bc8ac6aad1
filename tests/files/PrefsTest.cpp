#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/Prefs.h"
#include "foundation/KSError.h"
#include "support/KSTestFolder.h"

namespace {

const long kWinX = ArgList::KeyCode("WinX");
const long kSkin = ArgList::KeyCode("Skin");
const char kPrefsName[] = "Toolbar Preferences.txt";

std::string Text(const UtilStr* inStr) {
  return inStr != nullptr ? std::string(inStr->getCStr(), size_t(inStr->length())) : "<null>";
}

}  // namespace

TEST(Prefs, StoresAndLoadsThroughTheFile) {
  KSTestFolder folder;
  KSFileSpec spec = folder.Item(kPrefsName);
  Prefs prefs;
  prefs.SetSpec(spec);
  prefs.SetInt(kWinX, -40);
  ASSERT_EQ(0, prefs.Store());
  EXPECT_EQ("WinX=-40\r\n", ReadAll(spec));
  prefs.SetStr(kSkin, "Blue \"Night\"\\1");
  ASSERT_EQ(0, prefs.Store());

  Prefs loaded;
  loaded.SetSpec(spec);
  ASSERT_EQ(0, loaded.Load());
  EXPECT_FALSE(loaded.IsDirty());
  EXPECT_EQ(-40, loaded.GetInt(kWinX));
  EXPECT_EQ("Blue \"Night\"\\1", Text(loaded.GetStr(kSkin)));
  EXPECT_EQ(2, loaded.GetArgs().Count());
}

TEST(Prefs, WritesOnlyWhenAValueChanged) {
  KSTestFolder folder;
  KSFileSpec spec = folder.MakeFile(kPrefsName, "WinX=5\r\nSkin=\"Blue\"\r\n");
  Prefs prefs;
  EXPECT_TRUE(prefs.IsDirty());
  prefs.SetSpec(spec);
  ASSERT_EQ(0, prefs.Load());

  // Equal values keep the set clean, so Store leaves the file alone.
  folder.MakeFile(kPrefsName, "untouched");
  prefs.SetInt(kWinX, 5);
  prefs.SetStr(kSkin, "Blue");
  EXPECT_FALSE(prefs.IsDirty());
  EXPECT_EQ(0, prefs.Store());
  EXPECT_EQ("untouched", ReadAll(spec));

  // Every real change makes it dirty again.
  const std::function<void()> kChanges[] = {
      [&] { prefs.SetStr(kSkin, "blue"); }, [&] { prefs.SetInt(kWinX, 6); },
      [&] { prefs.SetInt(ArgList::KeyCode("New"), 0); }, [&] { prefs.RemoveAll(); },
      [&] { prefs.SetSpec(spec); }};
  for (const auto& change : kChanges) {
    change();
    EXPECT_TRUE(prefs.IsDirty());
    EXPECT_EQ(0, prefs.Store());
    EXPECT_FALSE(prefs.IsDirty());
  }
}

TEST(Prefs, UnreadableFilesLoadNothing) {
  KSTestFolder folder;
  Prefs prefs;
  prefs.SetSpec(folder.Item("missing.txt"));
  prefs.SetInt(kWinX, 1);
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());

  // 500000 bytes load, one more does not.
  std::string atLimit = "WinX=7," + std::string(500000 - 7, ' ');
  prefs.SetSpec(folder.MakeFile("limit.txt", atLimit));
  EXPECT_EQ(0, prefs.Load());
  EXPECT_EQ(7, prefs.GetInt(kWinX));
  prefs.SetSpec(folder.MakeFile("big.txt", atLimit + " "));
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());

  // A plain list keeps its values when the file cannot be read.
  ArgList args;
  args.SetInt(kWinX, 3);
  EXPECT_FALSE(args.SetArgs(folder.Item("missing.txt")));
  EXPECT_EQ(3, args.GetInt(kWinX));
}
