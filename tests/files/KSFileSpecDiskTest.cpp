// KSFileSpec on a real disk: existence, catalog information, creation,
// deletion, listing, long paths, the work folder and the shell's folders.
#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>

#include "KSTestFolder.h"
#include "files/KSFileSpec.h"
#include "files/KSNativePath.h"
#include "foundation/KSError.h"
#include "foundation/XStrList.h"

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

// A folder of files and folders, some hidden.
class KSFileSpecListing : public ::testing::Test {
 protected:
  void SetUp() override {
    mTemp.MakeFile("a.txt", "aaa");
    mTemp.MakeFile("b.tar.gz", "");
    mTemp.MakeFile("README", "r");
    MakeHidden(mTemp.MakeFile("secret.dat", "s"));
    mTemp.MakeFolder("Sub");
    mTemp.MakeFile("Sub\\inner.txt", "i");
    MakeHidden(mTemp.MakeFolder("HiddenDir"));
  }
  KSTestFolder mTemp;
};

}  // namespace

TEST(KSFileSpecDisk, ExistsCatalogInfoCreateAndDelete) {
  KSTestFolder temp;
  KSFileSpec empty;
  EXPECT_EQ(0, empty.Exists());
  KSFileInfo info;
  EXPECT_EQ(kKSErr_Param, empty.GetCatInfo(&info));
  EXPECT_EQ(kKSErr_Param, temp.Spec().GetCatInfo(nullptr));
  EXPECT_EQ(kKSErr_FileNotFound, empty.CreateDir());

  KSFileSpec file = temp.MakeFile("data.bin", "12345");
  EXPECT_EQ(ks_ItemIsFile, file.Exists());
  ASSERT_EQ(0, file.GetCatInfo(&info));
  EXPECT_EQ(ks_ItemIsFile, info.mFlags);
  EXPECT_EQ(5, info.mLogicalSize);
  int64 now = int64(time(nullptr));
  EXPECT_NEAR(double(now), double(info.mModificationTime), 86400.0);
  EXPECT_NEAR(double(now), double(info.mCreationTime), 86400.0);

  KSFileSpec folder = temp.Item("Folder");
  EXPECT_EQ(0, folder.Exists());
  EXPECT_EQ(kKSErr_FileNotFound, folder.GetCatInfo(&info));
  EXPECT_EQ(-1, info.mModificationTime);
  ASSERT_EQ(0, folder.CreateDir());
  EXPECT_EQ(ks_ItemIsFolder, folder.Exists());
  EXPECT_NE(0, folder.CreateDir());
  ASSERT_EQ(0, folder.GetCatInfo(&info));
  EXPECT_EQ(ks_ItemIsFolder, info.mFlags);
  EXPECT_EQ(0, info.mLogicalSize);

  temp.MakeFile("Folder\\x", "x");
  EXPECT_EQ(kKSErr_DirNotEmpty, folder.Delete());
  EXPECT_EQ(0, temp.Item("Folder\\x").Delete());
  EXPECT_EQ(0, folder.Delete());
  EXPECT_EQ(0, folder.Exists());
  EXPECT_EQ(kKSErr_FileNotFound, folder.Delete());
  EXPECT_EQ(0, file.Delete());
  EXPECT_EQ(0, file.Exists());
}

TEST(KSFileSpecDisk, DeleteRecursivelyRemovesWholeTreesAndPlainFiles) {
  KSTestFolder temp;
  KSFileSpec top = temp.MakeFolder("top");
  temp.MakeFolder("top\\one");
  temp.MakeFolder("top\\one\\two");
  temp.MakeFile("top\\one\\two\\deep.txt", "deep");
  MakeHidden(temp.MakeFile("top\\one\\hidden.txt", "h"));
  MakeHidden(temp.MakeFolder("top\\hiddenDir"));
  temp.MakeFile("top\\hiddenDir\\f", "f");
  temp.MakeFile("top\\file", "f");
  ASSERT_EQ(0, top.DeleteRecursively());
  EXPECT_EQ(0, top.Exists());
  EXPECT_EQ(std::set<std::string>(), Catalog(temp.Spec(), 7));

  KSFileSpec plain = temp.MakeFile("plain.txt", "p");
  EXPECT_EQ(0, plain.DeleteRecursively());
  EXPECT_EQ(0, plain.Exists());
  EXPECT_EQ(kKSErr_FileNotFound, plain.DeleteRecursively());
}

TEST_F(KSFileSpecListing, ReadCatalogFollowsTheFlags) {
  const KSFileSpec& dir = mTemp.Spec();
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
  EXPECT_TRUE(Catalog(mTemp.Item("a.txt"), 3, false, &err).empty());
  EXPECT_EQ(kKSErr_CannotBeFile, err);
  EXPECT_TRUE(Catalog(mTemp.Item("missing"), 3, false, &err).empty());
  EXPECT_EQ(kKSErr_FileNotFound, err);
}

TEST_F(KSFileSpecListing, IteratorsRunIndependentlyAndEndCleanly) {
  long files = 0;
  long folders = 0;
  ASSERT_EQ(0, KSFileSpec::StartDirIteration(mTemp.Spec(), 1, &files));
  ASSERT_EQ(0, KSFileSpec::StartDirIteration(mTemp.Spec(), 2, &folders));
  EXPECT_NE(files, folders);
  KSFileSpec item;
  EXPECT_EQ(ks_ItemIsFolder, KSFileSpec::GetNextItem(folders, &item));
  EXPECT_STREQ("Sub", item.GetFileName());
  KSFileSpec parent;
  parent.AssignParent(item);
  EXPECT_STREQ(mTemp.Spec().GetPathCStr(), parent.GetPathCStr());

  int fileCount = 0;
  while (KSFileSpec::GetNextItem(files, &item) == ks_ItemIsFile) {
    fileCount++;
  }
  EXPECT_EQ(3, fileCount);
  EXPECT_EQ(0, KSFileSpec::GetNextItem(files, &item));
  EXPECT_EQ(0, KSFileSpec::GetNextItem(folders, &item));
  KSFileSpec::EndDirIteration(files);
  KSFileSpec::EndDirIteration(folders);
  KSFileSpec::EndDirIteration(0);
  // An ended iterator gives nothing.
  EXPECT_EQ(0, KSFileSpec::GetNextItem(files, &item));

  long iter = 123;
  EXPECT_EQ(kKSErr_CannotBeFile, KSFileSpec::StartDirIteration(mTemp.Item("README"), 3, &iter));
  EXPECT_EQ(0, iter);
}

TEST(KSFileSpecDisk, PathsBeyond260Characters) {
  KSTestFolder temp;
  std::string relative;
  KSFileSpec deep = temp.Spec();
  for (int level = 0; level < 6; level++) {
    std::string name = "level" + std::to_string(level) + "_" + std::string(50, 'x');
    deep.AssignRelativePath(name.c_str(), -1, deep);
    ASSERT_EQ(0, deep.CreateDir()) << deep.GetPathname().length();
    relative += (relative.empty() ? "" : "\\") + name;
  }
  ASSERT_GT(deep.GetPathname().length(), 300);
  KSFileSpec file = temp.MakeFile(relative + "\\long.txt", "far away");
  EXPECT_EQ(ks_ItemIsFile, file.Exists());
  EXPECT_EQ("far away", ReadAll(file));
  EXPECT_EQ(std::set<std::string>({"long.txt"}), Catalog(deep, 1));
  KSFileInfo info;
  ASSERT_EQ(0, file.GetCatInfo(&info));
  EXPECT_EQ(8, info.mLogicalSize);

  KSFileSpec first = temp.Item(relative.substr(0, relative.find('\\')));
  ASSERT_EQ(0, first.DeleteRecursively());
  EXPECT_EQ(0, first.Exists());
}

TEST(KSFileSpecDisk, ProgramFilesAndRelativePaths) {
  KSFileSpec program;
  ASSERT_EQ(0, KSFileSpec::GetModuleSpec(nullptr, &program));
  EXPECT_EQ(ks_ItemIsFile, program.Exists());
  UtilStr name;
  program.GetFileName(&name);
  EXPECT_TRUE(UtilStr(".exe").Equals(name.getCStr() + name.length() - 4, false));

  KSFileSpec dir;
  ASSERT_EQ(0, KSFileSpec::GetProcessDir(&dir));
  EXPECT_EQ(ks_ItemIsFolder, dir.Exists());
  KSFileSpec skins;
  skins.AssignFromPath("Skins", -1);
  EXPECT_EQ(std::string(dir.GetPathCStr()) + "\\Skins", skins.GetPathCStr());
  skins.AssignRelativePath("Skins\\Default");
  EXPECT_EQ(std::string(dir.GetPathCStr()) + "\\Skins\\Default", skins.GetPathCStr());
}

TEST(KSFileSpecDisk, WorkFolderIsCreatedLevelByLevel) {
  KSTestFolder temp;
  KSFileSpec work;
  ASSERT_EQ(0, work.AssignWorkFolder("Corvexa", temp.Spec()));
  EXPECT_EQ(std::string(temp.Spec().GetPathCStr()) + "\\Kestrova\\Corvexa", work.GetPathCStr());
  EXPECT_EQ(ks_ItemIsFolder, work.Exists());
  // Existing levels are kept, with what is in them.
  temp.MakeFile("Kestrova\\Corvexa\\Toolbar Preferences.txt", "x=1");
  ASSERT_EQ(0, work.AssignWorkFolder("Corvexa", temp.Spec()));
  EXPECT_EQ("x=1", ReadAll(temp.Item("Kestrova\\Corvexa\\Toolbar Preferences.txt")));
  ASSERT_EQ(0, work.AssignWorkFolder("Other", temp.Spec()));
  EXPECT_EQ(ks_ItemIsFolder, temp.Item("Kestrova\\Other").Exists());

  // A file where a folder should be is an error.
  KSFileSpec blocked = temp.MakeFolder("blocked");
  temp.MakeFile("blocked\\Kestrova", "not a folder");
  EXPECT_NE(0, work.AssignWorkFolder("Corvexa", blocked));
  EXPECT_NE(0, work.AssignWorkFolder("Corvexa", KSFileSpec()));
}

TEST(KSFileSpecDisk, TheShellKnowsEveryFolderType) {
  KSFileSpec found[11];
  for (int type = ks_CommonAppFolder; type <= ks_HomeFolder; type++) {
    ASSERT_EQ(0, found[type].AssignOSFolder(OSFolderType(type))) << type;
    EXPECT_EQ(ks_ItemIsFolder, found[type].Exists()) << found[type].GetPathCStr();
  }
  // A drive's root is a folder that can be listed.
  XStrList names;
  EXPECT_EQ(0, KSFileSpec::ReadCatalog(found[ks_RootFolder], &names, 2, false));
  EXPECT_GT(names.Count(), 0);
  const char* root = found[ks_RootFolder].GetPathCStr();
  EXPECT_EQ(2u, strlen(root));
  EXPECT_EQ(':', root[1]);
  EXPECT_EQ(root[0], found[ks_SystemFolder].GetPathCStr()[0]);

  KSFileSpec parent;
  parent.AssignParent(found[ks_CommonAppDataFolder]);
  EXPECT_STREQ(parent.GetPathCStr(), found[ks_CommonPrefsFolder].GetPathCStr());
  parent.AssignParent(found[ks_UserDesktopFolder]);
  EXPECT_STREQ(parent.GetPathCStr(), found[ks_HomeFolder].GetPathCStr());
}
