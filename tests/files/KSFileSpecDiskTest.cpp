// KSFileSpec on a real disk: existence, catalog information, creation,
// deletion, listing, paths beyond 260 characters, the work folder and the
// shell's folders.
#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/XStrList.h"
#include "support/KSTestFolder.h"

namespace {

void MakeHidden(const KSFileSpec& inSpec) {
  SetFileAttributesW(KSNativePath(inSpec).Get(), FILE_ATTRIBUTE_HIDDEN);
}

std::set<std::string> Catalog(const KSFileSpec& inDir, unsigned long inFlags, bool inPOSIX = false,
                              long* outErr = nullptr) {
  XStrList list;
  long err = KSFileSpec::ReadCatalog(inDir, &list, inFlags, inPOSIX);
  if (outErr != nullptr) {
    *outErr = err;
  }
  std::set<std::string> names;
  for (long i = 1; i <= list.Count(); i++) {
    names.insert(list.Fetch(i)->getCStr());
  }
  return names;
}

}  // namespace

TEST(KSFileSpecDisk, ExistsCatalogInfoCreateAndDeleteAlsoRecursively) {
  KSTestFolder temp;
  KSFileInfo info;
  EXPECT_EQ(0, KSFileSpec().Exists());
  EXPECT_EQ(kKSErr_Param, KSFileSpec().GetCatInfo(&info));
  EXPECT_EQ(kKSErr_FileNotFound, KSFileSpec().CreateDir());

  KSFileSpec file = temp.MakeFile("data.bin", "12345");
  EXPECT_EQ(ks_ItemIsFile, file.Exists());
  ASSERT_EQ(0, file.GetCatInfo(&info));
  EXPECT_EQ(ks_ItemIsFile, info.mFlags);
  EXPECT_EQ(5, info.mLogicalSize);
  EXPECT_NEAR(double(time(nullptr)), double(info.mModificationTime), 86400.0);

  KSFileSpec folder = temp.Item("Folder");
  EXPECT_EQ(kKSErr_FileNotFound, folder.GetCatInfo(&info));
  EXPECT_EQ(-1, info.mModificationTime);
  ASSERT_EQ(0, folder.CreateDir());
  EXPECT_EQ(ks_ItemIsFolder, folder.Exists());
  ASSERT_EQ(0, folder.GetCatInfo(&info));
  EXPECT_EQ(ks_ItemIsFolder, info.mFlags);

  KSFileSpec inner = temp.MakeFile("Folder\\x", "x");
  EXPECT_EQ(kKSErr_DirNotEmpty, folder.Delete());
  EXPECT_EQ(0, inner.Delete());
  EXPECT_EQ(0, folder.Delete());
  EXPECT_EQ(0, folder.Exists());
  EXPECT_EQ(kKSErr_FileNotFound, folder.Delete());

  // Deleting recursively takes whole trees, hidden items and paths beyond 260
  // characters too, and plain files.
  KSFileSpec top = temp.MakeFolder("top");
  KSFileSpec deep = temp.MakeFolder("top\\one");
  for (char level = 'a'; level < 'g'; level++) {
    deep.AssignRelativePath(std::string(50, level).c_str(), -1, deep);
    ASSERT_EQ(0, deep.CreateDir());
  }
  KSFileSpec distant;
  distant.AssignRelativePath("far.txt", -1, deep);
  ASSERT_EQ(0, KSFile::WriteFile(distant, "far away", 8));
  ASSERT_GT(distant.GetPathname().length(), 300);
  EXPECT_EQ("far away", ReadAll(distant));
  EXPECT_EQ(std::set<std::string>({"far.txt"}), Catalog(deep, 1));
  MakeHidden(temp.MakeFile("top\\one\\hidden.txt", "h"));
  MakeHidden(temp.MakeFolder("top\\hiddenDir"));
  temp.MakeFile("top\\hiddenDir\\f", "f");
  ASSERT_EQ(0, top.DeleteRecursively());
  EXPECT_EQ(0, top.Exists());

  KSFileSpec plain = temp.MakeFile("plain.txt", "p");
  EXPECT_EQ(0, plain.DeleteRecursively());
  EXPECT_EQ(0, plain.Exists());
  EXPECT_EQ(kKSErr_FileNotFound, plain.DeleteRecursively());
}

TEST(KSFileSpecDisk, ListingFollowsTheCatalogFlags) {
  KSTestFolder temp;
  const KSFileSpec& dir = temp.Spec();
  temp.MakeFile("a.txt", "aaa");
  temp.MakeFile("b.tar.gz", "");
  temp.MakeFile("README", "r");
  MakeHidden(temp.MakeFile("secret.dat", "s"));
  temp.MakeFolder("Sub");
  MakeHidden(temp.MakeFolder("HiddenDir"));

  EXPECT_EQ(std::set<std::string>({"a.txt", "b.tar.gz", "README"}), Catalog(dir, 1));
  EXPECT_EQ(std::set<std::string>({"Sub"}), Catalog(dir, 2));
  EXPECT_EQ(
      std::set<std::string>({"a.txt", "b.tar.gz", "README", "secret.dat", "Sub", "HiddenDir"}),
      Catalog(dir, 7));
  EXPECT_EQ(std::set<std::string>({"a", "b.tar", "README"}), Catalog(dir, 1 | 8));
  UtilStr posixDir;
  ASSERT_EQ(0, dir.GetPOSIXPathname(&posixDir));
  EXPECT_EQ(std::set<std::string>({std::string(posixDir.getCStr()) + "/Sub"}),
            Catalog(dir, 2, true));

  long err = 0;
  EXPECT_TRUE(Catalog(temp.Item("a.txt"), 3, false, &err).empty());
  EXPECT_EQ(kKSErr_CannotBeFile, err);
  EXPECT_TRUE(Catalog(temp.Item("missing"), 3, false, &err).empty());
  EXPECT_EQ(kKSErr_FileNotFound, err);

  // Two listings at once keep their own places; an ended one gives nothing.
  long files = 0;
  long folders = 0;
  ASSERT_EQ(0, KSFileSpec::StartDirIteration(dir, 1, &files));
  ASSERT_EQ(0, KSFileSpec::StartDirIteration(dir, 2, &folders));
  KSFileSpec item;
  EXPECT_EQ(ks_ItemIsFile, KSFileSpec::GetNextItem(files, &item));
  EXPECT_EQ(ks_ItemIsFolder, KSFileSpec::GetNextItem(folders, &item));
  EXPECT_EQ(std::string(dir.GetPathCStr()) + "\\Sub", item.GetPathCStr());
  EXPECT_EQ(0, KSFileSpec::GetNextItem(folders, &item));
  EXPECT_EQ(ks_ItemIsFile, KSFileSpec::GetNextItem(files, &item));
  KSFileSpec::EndDirIteration(files);
  KSFileSpec::EndDirIteration(folders);
  EXPECT_EQ(0, KSFileSpec::GetNextItem(files, &item));
}

TEST(KSFileSpecDisk, WorkFolderIsCreatedLevelByLevel) {
  KSTestFolder temp;
  KSFileSpec work;
  ASSERT_EQ(0, work.AssignWorkFolder("Corvexa", temp.Spec()));
  EXPECT_EQ(std::string(temp.Spec().GetPathCStr()) + "\\Kestrova\\Corvexa", work.GetPathCStr());
  EXPECT_EQ(ks_ItemIsFolder, work.Exists());
  // Existing levels are kept with what is in them.
  KSFileSpec prefs = temp.MakeFile("Kestrova\\Corvexa\\Toolbar Preferences.txt", "x=1");
  ASSERT_EQ(0, work.AssignWorkFolder("Corvexa", temp.Spec()));
  EXPECT_EQ("x=1", ReadAll(prefs));

  // A file where a folder should be is an error.
  KSFileSpec blocked = temp.MakeFolder("blocked");
  temp.MakeFile("blocked\\Kestrova", "not a folder");
  EXPECT_NE(0, work.AssignWorkFolder("Corvexa", blocked));
}

TEST(KSFileSpecDisk, TheShellsFoldersAndTheProgramsOwn) {
  KSFileSpec found[11];
  for (int type = ks_CommonAppFolder; type <= ks_HomeFolder; type++) {
    ASSERT_EQ(0, found[type].AssignOSFolder(OSFolderType(type))) << type;
    EXPECT_EQ(ks_ItemIsFolder, found[type].Exists()) << found[type].GetPathCStr();
  }
  EXPECT_EQ(2, found[ks_RootFolder].GetPathname().length());
  // A drive's root is a folder that can be listed.
  EXPECT_FALSE(Catalog(found[ks_RootFolder], 2).empty());
  KSFileSpec parent;
  parent.AssignParent(found[ks_UserDesktopFolder]);
  EXPECT_STREQ(parent.GetPathCStr(), found[ks_HomeFolder].GetPathCStr());

  KSFileSpec program;
  ASSERT_EQ(0, KSFileSpec::GetModuleSpec(nullptr, &program));
  EXPECT_EQ(ks_ItemIsFile, program.Exists());
  KSFileSpec skins;
  skins.AssignFromPath("Skins");
  parent.AssignParent(program);
  EXPECT_EQ(std::string(parent.GetPathCStr()) + "\\Skins", skins.GetPathCStr());
}
