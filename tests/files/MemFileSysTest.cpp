// The memory file system as the mirror of a disk folder keeps its catalog in
// one: folders and files found by name, listed and named by path.
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
}

}  // namespace
