#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/MemFileSys.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

namespace {

class TestFileSys : public MemFileSys {
 public:
  explicit TestFileSys(unsigned long inFlags = 0) : MemFileSys(inFlags) {}
  using GeneralFileSys::GetItemIDFromPath_Impl;

  long Make(long inFolder, const char* inName, unsigned long inFlags = 0) {
    long id = 0;
    long err = Create_Impl(inFolder, inName, -1, &id, inFlags);
    EXPECT_EQ(0, err) << inName;
    return id;
  }
  long Folder(long inFolder, const char* inName) { return Make(inFolder, inName, kFSCreateFolder); }

  std::string Name(long inID) {
    const UtilStr* name = GetName(inID);
    return name ? name->getCStr() : "<none>";
  }
  std::string Path(long inID) {
    UtilStr path;
    EXPECT_EQ(0, GetPathname(inID, &path, '/', 1));
    return path.getCStr();
  }
  std::vector<long> List(long inFolder, long inFlags) {
    XLongList ids;
    EXPECT_EQ(0, Catalog(inFolder, &ids, inFlags));
    std::vector<long> out;
    for (long i = 1; i <= ids.Count(); i++) {
      out.push_back(ids.Fetch(i));
    }
    return out;
  }
};

TEST(MemFileSys, IdsFlagsAndNewItems) {
  TestFileSys fs;
  EXPECT_EQ(kFSItemFolder, fs.GetFlags(1, nullptr));
  long folder = fs.Folder(1, "f");
  long file = fs.Make(folder, "x", kFSCreateMarked);
  EXPECT_EQ(kFSItemCreated | kFSItemFolder, fs.GetFlags(folder, nullptr));
  EXPECT_EQ(kFSItemCreated | kFSItemMarked, fs.GetFlags(file, nullptr));
  long err = 0;
  EXPECT_EQ(0u, fs.GetFlags(999, &err));
  EXPECT_EQ(kKSErr_FileNotFound, err);

  // IDs are never handed out again, and items cannot go into files.
  EXPECT_EQ(0, fs.Delete(file));
  long again = fs.Make(folder, "x");
  EXPECT_GT(again, file);
  long id = -1;
  EXPECT_EQ(kKSErr_NotADirectory, fs.Create_Impl(again, "y", -1, &id, 0));

  // Only bits 8-15 can be set.
  EXPECT_EQ(0, fs.SetFlags(folder, 0xFFFFFFFF));
  EXPECT_EQ(0xFF00u | kFSItemCreated | kFSItemFolder, fs.GetFlags(folder, nullptr));

  // Names that are not given count up.
  for (const char* name : {"Untitled", "Untitled 1"}) {
    ASSERT_EQ(0, fs.Create(1, &id, 0));
    EXPECT_EQ(name, fs.Name(id));
  }
  ASSERT_EQ(0, fs.Create(1, &id, kFSCreateFolder));
  EXPECT_EQ("Untitled Folder", fs.Name(id));
}

TEST(MemFileSys, UniqueSharedAndCaseFoldedNames) {
  TestFileSys unique;
  long first = unique.Make(1, "README");
  long id = 0;
  EXPECT_EQ(kKSErr_DuplicateName, unique.Create_Impl(1, "readme", -1, &id, 0));
  EXPECT_EQ(first, id);
  // Renaming to another case of its own name is allowed and takes.
  EXPECT_EQ(0, unique.SetName(first, UtilStr("ReadMe")));
  EXPECT_EQ("ReadMe", unique.Name(first));
  // Replacing makes a new item in place of the old one.
  EXPECT_EQ(0, unique.Create_Impl(1, "readme", -1, &id, kFSCreateReplace));
  EXPECT_NE(first, id);
  EXPECT_EQ(0u, unique.GetFlags(first, nullptr));

  TestFileSys exact(kMemFSCaseSensitive);
  exact.Make(1, "README");
  EXPECT_EQ(kKSErr_FileNotFound, exact.GetItemID(1, "Readme", -1, &id));
  EXPECT_EQ(0, exact.Create_Impl(1, "readme", -1, &id, 0));

  TestFileSys shared(kMemFSNamesNotUnique);
  long a1 = shared.Make(1, "a");
  long a2 = shared.Make(1, "a");
  long a3 = shared.Make(1, "a");
  EXPECT_EQ(kKSErr_AmbiguousName, shared.GetItemID(1, "a", -1, &id));
  EXPECT_EQ(a1, id);
  EXPECT_EQ((std::vector<long>{a1, a2, a3}), shared.List(1, kFSCatFiles));
  // Down to one holder the name is plain again.
  EXPECT_EQ(0, shared.Delete(a1));
  EXPECT_EQ(0, shared.Delete(a3));
  EXPECT_EQ(0, shared.GetItemID(1, "a", -1, &id));
  EXPECT_EQ(a2, id);
  // Replacing removes every item of the name.
  shared.Make(1, "a");
  EXPECT_EQ(0, shared.Create_Impl(1, "a", -1, &id, kFSCreateReplace));
  EXPECT_EQ(2, shared.CountItems());
  ASSERT_EQ(0, shared.Create(1, &id, 0));
  EXPECT_EQ("", shared.Name(id));
}

TEST(MemFileSys, CatalogsAndPaths) {
  TestFileSys fs;
  long sub = fs.Folder(1, "sub");
  long top = fs.Make(1, "top.txt");
  long deep = fs.Folder(sub, "deep");
  long leaf = fs.Make(deep, "leaf.txt");
  long mid = fs.Make(sub, "mid.txt");

  EXPECT_EQ(std::vector<long>{top}, fs.List(1, kFSCatFiles));
  EXPECT_EQ(std::vector<long>{sub}, fs.List(1, kFSCatFolders));
  // A folder's own items come first, then each sub-folder's, all the way down.
  EXPECT_EQ((std::vector<long>{top, mid, leaf}), fs.List(1, kFSCatFiles | kFSCatRecursive));
  EXPECT_EQ(5u, fs.List(1, kFSCatFilesAndFolders | kFSCatRecursive).size());
  XLongList ids;
  EXPECT_EQ(kKSErr_NotADirectory, fs.Catalog(top, &ids, kFSCatFiles));

  EXPECT_EQ("sub/deep/leaf.txt", fs.Path(leaf));
  EXPECT_EQ("", fs.Path(1));
  UtilStr path;
  EXPECT_EQ(0, fs.GetPathname(leaf, &path, '\\', sub));
  EXPECT_STREQ("deep\\leaf.txt", path.getCStr());
  EXPECT_EQ(kKSErr_Param, fs.GetPathname(top, &path, '/', sub));
  EXPECT_EQ(kKSErr_FileNotFound, fs.GetPathname(999, &path, '/', 1));

  long id = 0;
  EXPECT_EQ(kKSErr_DuplicateName,
            fs.GetItemIDFromPath_Impl(1, "/sub/deep/leaf.txt", -1, false, '/', &id));
  EXPECT_EQ(leaf, id);
  EXPECT_EQ(kKSErr_DuplicateName, fs.GetItemIDFromPath_Impl(1, "sub/deep/", -1, false, '/', &id));
  EXPECT_EQ(deep, id);
  EXPECT_EQ(kKSErr_PathKindMismatch, fs.GetItemIDFromPath_Impl(1, "top.txt/", -1, false, '/', &id));
  EXPECT_EQ(kKSErr_FileNotFound, fs.GetItemIDFromPath_Impl(1, "sub/new/x", -1, false, '/', &id));
  EXPECT_EQ(kKSErr_NotADirectory, fs.GetItemIDFromPath_Impl(1, "top.txt/x", -1, false, '/', &id));

  // Creating: the folders on the way, and the last one as asked.
  EXPECT_EQ(0, fs.GetItemIDFromPath_Impl(1, "sub/new/x", -1, true, '/', &id));
  EXPECT_EQ(kFSItemCreated, fs.GetFlags(id, nullptr));
  EXPECT_EQ("sub/new/x", fs.Path(id));
  EXPECT_EQ(0, fs.GetItemIDFromPath_Impl(deep, "a/b/", -1, true, '/', &id));
  EXPECT_EQ(kFSItemCreated | kFSItemFolder, fs.GetFlags(id, nullptr));
  EXPECT_EQ("sub/deep/a/b", fs.Path(id));
}

TEST(MemFileSys, ContentAndCatInfo) {
  TestFileSys fs(kMemFSStampModTime);
  long file = fs.Make(1, "f");
  long folder = fs.Folder(1, "d");
  ASSERT_EQ(0, fs.Write(file, UtilStr("hello world")));

  UtilStr data;
  EXPECT_EQ(0, fs.ReadBlock(file, 6, -1, &data));
  EXPECT_STREQ("world", data.getCStr());
  EXPECT_EQ(kKSErr_EOF, fs.ReadBlock(file, 8, 10, &data));
  EXPECT_STREQ("rld", data.getCStr());
  EXPECT_EQ(kKSErr_IllegalSeek, fs.ReadBlock(file, 12, 1, &data));
  EXPECT_EQ(kKSErr_CannotBeDirectory, fs.ReadBlock(folder, 0, -1, &data));
  EXPECT_EQ(kKSErr_CannotBeDirectory, fs.Write(folder, data));
  EXPECT_EQ(kKSErr_Param, fs.ReadBlock(file, 0, -1, nullptr));

  FSCatInfo info;
  ASSERT_EQ(0, fs.GetCatInfo(file, &info));
  EXPECT_EQ(11, info.mLogicalSize);
  EXPECT_EQ(-1, info.mCreationTime);
  EXPECT_GT(info.mModificationTime, 1600000000);  // stamped at creation
  EXPECT_EQ(kFSItemCreated, info.mFlags);
  ASSERT_EQ(0, fs.SetCatInfo(file, 1000, -1));
  ASSERT_EQ(0, fs.GetCatInfo(file, &info));
  EXPECT_EQ(1000, info.mCreationTime);
  EXPECT_EQ(-1, info.mModificationTime);

  EXPECT_EQ(0, fs.DeleteContents(file));
  ASSERT_EQ(0, fs.GetCatInfo(file, &info));
  EXPECT_EQ(0, info.mLogicalSize);
}

TEST(MemFileSys, DeleteMoveAndRename) {
  TestFileSys fs;
  long a = fs.Folder(1, "a");
  long b = fs.Folder(a, "b");
  long inner = fs.Make(b, "inner");
  long other = fs.Folder(1, "other");
  long clash = fs.Make(other, "b");

  EXPECT_EQ(kKSErr_NotPermitted, fs.Move(a, b, false));  // into its own tree
  EXPECT_EQ(kKSErr_NotPermitted, fs.Move(1, other, false));
  EXPECT_EQ(kKSErr_NotPermitted, fs.Delete(1));
  EXPECT_EQ(kKSErr_DuplicateName, fs.Move(b, other, false));
  EXPECT_EQ(0, fs.Move(b, other, true));
  EXPECT_EQ(0u, fs.GetFlags(clash, nullptr));
  EXPECT_EQ("other/b/inner", fs.Path(inner));
  EXPECT_TRUE(fs.List(a, kFSCatFilesAndFolders).empty());

  EXPECT_EQ(kKSErr_DuplicateName, fs.SetName(a, UtilStr("OTHER")));
  EXPECT_EQ(0, fs.SetName(b, UtilStr("c")));
  EXPECT_EQ("other/c/inner", fs.Path(inner));
  long id = 0;
  EXPECT_EQ(kKSErr_FileNotFound, fs.GetItemID(other, "b", -1, &id));

  // Deleting a folder takes everything inside it.
  EXPECT_EQ(0, fs.Delete(other));
  EXPECT_EQ(0u, fs.GetFlags(inner, nullptr));
  EXPECT_EQ(2, fs.CountItems());
  EXPECT_EQ(0, fs.DeleteContents(1));
  EXPECT_EQ(1, fs.CountItems());
}

}  // namespace
