#include <gtest/gtest.h>

#include <string>

#include "files/KSFile.h"
#include "files/KSOStream.h"
#include "files/KSTestFolder.h"
#include "files/Prefs.h"
#include "foundation/KSError.h"

namespace {

const long kWinX = ArgList::KeyCode("WinX");
const long kSkin = ArgList::KeyCode("Skin");
const char kPrefsName[] = "Toolbar Preferences.txt";

std::string Text(const UtilStr* inStr) {
  return inStr != nullptr ? std::string(inStr->getCStr(), size_t(inStr->length())) : "<null>";
}

// The number of items in the folder (leftover sibling files show up here).
int CountItems(const KSFileSpec& inFolder) {
  long iter = 0;
  int count = 0;
  if (KSFileSpec::StartDirIteration(
          inFolder, ks_CatalogFiles | ks_CatalogFolders | ks_CatalogInvisibles, &iter) == 0) {
    KSFileSpec item;
    while (KSFileSpec::GetNextItem(iter, &item) != 0) {
      count++;
    }
  }
  KSFileSpec::EndDirIteration(iter);
  return count;
}

}  // namespace

TEST(Prefs, StoresAndLoadsThroughTheFile) {
  KSTestFolder folder;
  KSFileSpec spec = folder.Item(kPrefsName);
  Prefs prefs;
  prefs.SetSpec(spec);
  prefs.SetInt(kWinX, -40);
  prefs.SetStr(kSkin, "Blue \"Night\"\\1");
  ASSERT_EQ(0, prefs.Store());
  EXPECT_FALSE(prefs.IsDirty());

  Prefs loaded;
  loaded.SetSpec(spec);
  ASSERT_EQ(0, loaded.Load());
  EXPECT_FALSE(loaded.IsDirty());
  EXPECT_EQ(-40, loaded.GetInt(kWinX));
  EXPECT_EQ("Blue \"Night\"\\1", Text(loaded.GetStr(kSkin)));
  EXPECT_EQ(2, loaded.GetArgs().Count());

  // One entry per line, each ended by CR LF.
  Prefs single;
  single.SetSpec(spec);
  single.SetInt(ArgList::KeyCode("ABCD"), 12);
  ASSERT_EQ(0, single.Store());
  EXPECT_EQ("ABCD=12\r\n", ReadAll(spec));
}

TEST(Prefs, WritesOnlyWhenAValueChanged) {
  KSTestFolder folder;
  KSFileSpec spec = folder.MakeFile(kPrefsName, "WinX=5\r\nSkin=\"Blue\"\r\n");
  Prefs prefs;
  EXPECT_TRUE(prefs.IsDirty());
  prefs.SetSpec(spec);
  ASSERT_EQ(0, prefs.Load());

  // Equal values keep the set clean, so Store leaves the file alone (here a
  // changed file would show the difference).
  folder.MakeFile(kPrefsName, "untouched");
  prefs.SetInt(kWinX, 5);
  prefs.SetStr(kSkin, "Blue");
  EXPECT_FALSE(prefs.IsDirty());
  EXPECT_EQ(0, prefs.Store());
  EXPECT_EQ("untouched", ReadAll(spec));

  prefs.SetStr(kSkin, "blue");
  EXPECT_TRUE(prefs.IsDirty());
  ASSERT_EQ(0, prefs.Store());
  EXPECT_FALSE(prefs.IsDirty());
  prefs.SetInt(kWinX, 6);
  EXPECT_TRUE(prefs.IsDirty());
  prefs.Store();
  prefs.SetInt(ArgList::KeyCode("New"), 0);
  EXPECT_TRUE(prefs.IsDirty());
  prefs.Store();
  prefs.RemoveAll();
  EXPECT_TRUE(prefs.IsDirty());
  prefs.Store();
  prefs.SetSpec(spec);
  EXPECT_TRUE(prefs.IsDirty());
}

TEST(Prefs, UnreadableFilesLoadNothing) {
  KSTestFolder folder;
  Prefs prefs;
  prefs.SetSpec(folder.Item("missing.txt"));
  prefs.SetInt(kWinX, 1);
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());
  EXPECT_TRUE(prefs.IsDirty());

  // The size limit: 500000 bytes load, one more does not.
  std::string atLimit = "WinX=7," + std::string(500000 - 7, ' ');
  prefs.SetSpec(folder.MakeFile("limit.txt", atLimit));
  EXPECT_EQ(0, prefs.Load());
  EXPECT_EQ(7, prefs.GetInt(kWinX));
  prefs.SetSpec(folder.MakeFile("big.txt", atLimit + " "));
  EXPECT_EQ(kKSErr_Unmapped, prefs.Load());
  EXPECT_EQ(0, prefs.GetArgs().Count());

  // The list form keeps what it had when the file cannot be read.
  ArgList args;
  args.SetInt(kWinX, 3);
  EXPECT_FALSE(args.SetArgs(folder.Item("missing.txt")));
  EXPECT_EQ(3, args.GetInt(kWinX));
  EXPECT_TRUE(args.SetArgs(folder.MakeFile("more.txt", "Skin=\"x\"")));
  EXPECT_EQ(2, args.Count());
}

TEST(Prefs, AFailedStoreLeavesTheOldFileIntact) {
  KSTestFolder folder;
  const std::string old = "WinX=1\r\nSkin=\"Old\"\r\n";
  KSFileSpec spec = folder.MakeFile(kPrefsName, old);
  Prefs prefs;
  prefs.SetSpec(spec);
  ASSERT_EQ(0, prefs.Load());
  prefs.SetStr(kSkin, "New");

  // While a reader holds the file open without letting others remove or
  // rename it, the new content cannot take the file's place: the store fails
  // and the old content survives whole, with no stray file beside it.
  {
    uint16 path[kKSMaxNativePathUnits];
    ASSERT_GT(spec.GetNativePathname(path, kKSMaxNativePathUnits), 0);
    HANDLE reader =
        CreateFileW(reinterpret_cast<const wchar_t*>(path), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_NE(0, prefs.Store());
    EXPECT_FALSE(prefs.IsDirty());
    CloseHandle(reader);
  }
  EXPECT_EQ(old, ReadAll(spec));
  EXPECT_EQ(1, CountItems(folder.Spec()));

  prefs.SetStr(kSkin, "Newer");
  ASSERT_EQ(0, prefs.Store());
  EXPECT_EQ("Newer", Text(prefs.GetStr(kSkin)));
  Prefs check;
  check.SetSpec(spec);
  ASSERT_EQ(0, check.Load());
  EXPECT_EQ("Newer", Text(check.GetStr(kSkin)));
  EXPECT_EQ(1, check.GetInt(kWinX));
}

TEST(Prefs, ExportsToAStream) {
  ArgList args;
  args.SetArgs("WinX=2, Skin=\"a\\tb\"");
  UtilStr text;
  args.ExportTo(" ", &text);
  KSOStream stream;
  args.ExportTo(" ", &stream);
  EXPECT_EQ(std::string(text.getCStr()), std::string(stream.GetBuffer().getCStr()));
  EXPECT_NE(std::string::npos, std::string(text.getCStr()).find("Skin=\"a\\tb\" "));
}
