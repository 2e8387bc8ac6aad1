// A mirror of a disk folder, as the theme manager lists its themes folder
// with one: its folders, found by name and turned back into disk paths. (The
// rest of the mirror is nothing the toolbar uses; the tar reader has a test
// of its own.)
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "files/KSNativePath.h"
#include "files/MirroredFileSys.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"
#include "support/KSTestFolder.h"

namespace {

// A mirror of a test folder, with helpers that speak in names.
class Mirror : public MirroredFileSys {
 public:
  explicit Mirror(bool inRetain = false) : MirroredFileSys(nullptr, inRetain) {}

  long ID(long inFolder, const char* inName) {
    long id = 0;
    GetItemID(inFolder, inName, -1, &id);
    return id;
  }
  std::set<std::string> Names(long inFolder, long inFlags = kFSCatFilesAndFolders) {
    XLongList ids;
    EXPECT_EQ(0, Catalog(inFolder, &ids, inFlags));
    std::set<std::string> names;
    for (long i = 1; i <= ids.Count(); i++) {
      names.insert(GetName(ids.Fetch(i))->getCStr());
    }
    return names;
  }
  bool Held(long inID) { return (GetFlags(inID, nullptr) & kFSItemMirrored) != 0; }
};

typedef std::set<std::string> Names;

TEST(MirroredFileSys, ListsTheDiskFolderLazily) {
  KSTestFolder temp;
  temp.MakeFile("a.txt", "aaa");
  temp.MakeFolder("sub");
  temp.MakeFile("sub\\inner.txt", "in");
  KSNativePath hidden(temp.MakeFile("hidden.txt", "h"));
  ASSERT_TRUE(SetFileAttributesW(hidden.Get(), FILE_ATTRIBUTE_HIDDEN));

  Mirror fs;
  EXPECT_EQ(kKSErr_PathNotFound, fs.SetRootDir(temp.Item("nothing"), nullptr, false));
  EXPECT_EQ(kKSErr_PathNotFound, fs.SetRootDir(temp.Item("a.txt"), nullptr, false));
  ASSERT_EQ(0, fs.SetRootDir(temp.Spec(), nullptr, false));
  EXPECT_FALSE(fs.Held(1));

  EXPECT_EQ((Names{"a.txt", "sub"}), fs.Names(1));
  EXPECT_EQ((Names{"sub"}), fs.Names(1, kFSCatFolders));
  EXPECT_TRUE(fs.Held(1));
  long sub = fs.ID(1, "SUB");  // names compare as the disk does
  ASSERT_NE(0, sub);
  EXPECT_FALSE(fs.Held(sub));
  EXPECT_EQ((Names{"a.txt", "inner.txt"}), fs.Names(1, kFSCatFiles | kFSCatRecursive));
  EXPECT_TRUE(fs.Held(sub));

  KSFileSpec spec;
  EXPECT_EQ(kFSItemCreated, fs.FileIDToSpec(fs.ID(sub, "inner.txt"), &spec));
  EXPECT_STREQ(temp.Item("sub\\inner.txt").GetPathCStr(), spec.GetPathCStr());
  EXPECT_EQ(0u, fs.FileIDToSpec(999, &spec));
  EXPECT_TRUE(spec.IsEmpty());
}

}  // namespace
