#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "TarBuilder.h"
#include "files/KSIStream.h"
#include "files/KSNativePath.h"
#include "files/MemFileSys.h"
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
  std::string Read(long inID) {
    UtilStr data;
    long err = ReadBlock(inID, 0, -1, &data);
    return err == 0 ? std::string(data.getCStr(), size_t(data.length())) : "<error>";
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

  FSCatInfo info;
  ASSERT_EQ(0, fs.GetCatInfo(fs.ID(1, "a.txt"), &info));
  EXPECT_EQ(3, info.mLogicalSize);
  EXPECT_GT(info.mModificationTime, 1600000000);
  XLongList ids;
  EXPECT_EQ(kKSErr_NotADirectory, fs.Catalog(fs.ID(1, "a.txt"), &ids, kFSCatFiles));
  EXPECT_EQ(kKSErr_FileNotFound, fs.Catalog(999, &ids, kFSCatFiles));

  // A mirror changes the disk only through Write and Create.
  long a = fs.ID(1, "a.txt");
  EXPECT_EQ(kKSErr_Unimplemented, fs.Delete(a));
  EXPECT_EQ(kKSErr_Unimplemented, fs.Move(a, sub, false));
  EXPECT_EQ(ks_ItemIsFile, temp.Item("a.txt").Exists());
}

TEST(MirroredFileSys, FollowsChangesOnTheDisk) {
  KSTestFolder temp;
  temp.MakeFile("keep.txt", "k");
  KSFileSpec doomed = temp.MakeFile("doomed.txt", "d");
  Mirror fs;
  ASSERT_EQ(0, fs.SetRootDir(temp.Spec(), nullptr, false));
  EXPECT_EQ((Names{"keep.txt", "doomed.txt"}), fs.Names(1));
  long keep = fs.ID(1, "keep.txt");

  ASSERT_EQ(0, doomed.Delete());
  temp.MakeFile("new.txt", "n");
  // The listing is held: nothing changes until the folder is read again.
  EXPECT_EQ((Names{"keep.txt", "doomed.txt"}), fs.Names(1));
  // A name that is on the disk but not known makes the folder be read again.
  long added = fs.ID(1, "new.txt");
  EXPECT_NE(0, added);
  EXPECT_EQ((Names{"keep.txt", "new.txt"}), fs.Names(1));
  EXPECT_EQ(keep, fs.ID(1, "keep.txt"));

  ASSERT_EQ(0, temp.Item("new.txt").Delete());
  EXPECT_EQ(0, fs.ID(1, "nothing.txt"));
  EXPECT_EQ((Names{"keep.txt", "new.txt"}), fs.Names(1));
  fs.PurgeCache(1);
  EXPECT_EQ((Names{"keep.txt"}), fs.Names(1));
  EXPECT_EQ(0u, fs.GetFlags(added, nullptr));

  // A file that became a folder is a new item.
  ASSERT_EQ(0, temp.Item("keep.txt").Delete());
  temp.MakeFolder("keep.txt");
  fs.PurgeCache(1);
  EXPECT_EQ((Names{"keep.txt"}), fs.Names(1, kFSCatFolders));
  EXPECT_NE(keep, fs.ID(1, "keep.txt"));
}

TEST(MirroredFileSys, RetainedContentsAndWrites) {
  KSTestFolder temp;
  KSFileSpec file = temp.MakeFile("f.txt", "first");
  Mirror retaining(true);
  Mirror plain(false);
  ASSERT_EQ(0, retaining.SetRootDir(temp.Spec(), nullptr, false));
  ASSERT_EQ(0, plain.SetRootDir(temp.Spec(), nullptr, false));
  long r = retaining.ID(1, "f.txt");
  long p = plain.ID(1, "f.txt");

  EXPECT_EQ("first", retaining.Read(r));
  EXPECT_EQ("first", plain.Read(p));
  EXPECT_TRUE(retaining.Held(r));
  EXPECT_FALSE(plain.Held(p));
  temp.MakeFile("f.txt", "second");
  // The retained copy answers without the disk; parts come from it too.
  EXPECT_EQ("first", retaining.Read(r));
  UtilStr part;
  EXPECT_EQ(0, retaining.ReadBlock(r, 1, 3, &part));
  EXPECT_STREQ("irs", part.getCStr());
  EXPECT_EQ("second", plain.Read(p));
  retaining.PurgeCache(1);
  EXPECT_FALSE(retaining.Held(r));
  EXPECT_EQ("second", retaining.Read(r));

  // Writing replaces the disk file and drops the retained copy.
  ASSERT_EQ(0, retaining.Write(r, UtilStr("third")));
  EXPECT_FALSE(retaining.Held(r));
  EXPECT_EQ("third", ReadAll(file));
  EXPECT_EQ("third", retaining.Read(r));
  EXPECT_EQ(kKSErr_CannotBeDirectory, retaining.Write(1, UtilStr("x")));
  EXPECT_EQ(kKSErr_FileNotFound, retaining.ReadBlock(999, 0, -1, &part));
  EXPECT_EQ(0, part.length());
  // A file gone from the disk fails to read and leaves nothing behind.
  ASSERT_EQ(0, file.Delete());
  part.Assign("stale");
  EXPECT_NE(0, plain.ReadBlock(p, 0, -1, &part));
  EXPECT_EQ(0, part.length());
}

TEST(MirroredFileSys, OverlayBesideOrOverTheDisk) {
  KSTestFolder temp;
  temp.MakeFile("both.txt", "disk");
  temp.MakeFolder("shared");
  temp.MakeFile("shared\\from-disk.txt", "d");
  MemFileSys overlay(0);
  long id = 0;
  overlay.Create_Impl(1, "both.txt", -1, &id, 0);
  overlay.Write(id, UtilStr("overlay!"));
  overlay.Create_Impl(1, "extra.txt", -1, &id, 0);
  long extra = id;
  overlay.Write(extra, UtilStr("x"));
  long shared = 0;
  overlay.Create_Impl(1, "shared", -1, &shared, kFSCreateFolder);
  overlay.Create_Impl(shared, "from-overlay.txt", -1, &id, 0);
  overlay.Create_Impl(1, "only-overlay", -1, &id, kFSCreateFolder);

  for (bool overrides : {false, true}) {
    Mirror fs;
    ASSERT_EQ(0, fs.SetRootDir(temp.Spec(), &overlay, overrides));
    EXPECT_EQ((Names{"both.txt", "extra.txt", "shared", "only-overlay"}), fs.Names(1));
    EXPECT_EQ((Names{"from-disk.txt", "from-overlay.txt"}), fs.Names(fs.ID(1, "shared")));
    EXPECT_EQ(overrides ? "overlay!" : "disk", fs.Read(fs.ID(1, "both.txt")));
    FSCatInfo info;
    ASSERT_EQ(0, fs.GetCatInfo(fs.ID(1, "both.txt"), &info));
    EXPECT_EQ(overrides ? 8 : 4, info.mLogicalSize);
    EXPECT_TRUE(fs.Names(fs.ID(1, "only-overlay")).empty());

    // Reading the folder again keeps the IDs.
    long both = fs.ID(1, "both.txt");
    fs.PurgeCache(1);
    fs.Names(1);
    EXPECT_EQ(both, fs.ID(1, "both.txt"));

    // Overlay items are written in the overlay.
    ASSERT_EQ(0, fs.Write(fs.ID(1, "extra.txt"), UtilStr(overrides ? "X2" : "X1")));
    UtilStr data;
    overlay.ReadBlock(extra, 0, -1, &data);
    EXPECT_STREQ(overrides ? "X2" : "X1", data.getCStr());
    EXPECT_EQ(0, temp.Item("extra.txt").Exists());
  }
  EXPECT_EQ("disk", ReadAll(temp.Item("both.txt")));

  // Items that leave the overlay fall back to the disk at the next reading.
  Mirror fs;
  ASSERT_EQ(0, fs.SetRootDir(temp.Spec(), &overlay, true));
  EXPECT_EQ("overlay!", fs.Read(fs.ID(1, "both.txt")));
  long merged = fs.ID(1, "shared");
  EXPECT_EQ((Names{"from-disk.txt", "from-overlay.txt"}), fs.Names(merged));
  ASSERT_EQ(0, overlay.Delete(shared));
  long overlayBoth = 0;
  ASSERT_EQ(0, overlay.GetItemID(1, "both.txt", -1, &overlayBoth));
  ASSERT_EQ(0, overlay.Delete(overlayBoth));
  fs.PurgeCache(1);
  EXPECT_EQ((Names{"both.txt", "extra.txt", "shared", "only-overlay"}), fs.Names(1));
  EXPECT_EQ("disk", fs.Read(fs.ID(1, "both.txt")));
  EXPECT_EQ((Names{"from-disk.txt"}), fs.Names(merged));
}

TEST(MirroredFileSys, CreatesOnTheDisk) {
  KSTestFolder temp;
  Mirror fs;
  ASSERT_EQ(0, fs.SetRootDir(temp.Spec(), nullptr, false));
  long untitled = 0;
  ASSERT_EQ(0, fs.Create(1, &untitled, 0));
  EXPECT_EQ(ks_ItemIsFile, temp.Item("Untitled").Exists());

  // A tar archive read into the mirror lands on the disk.
  TarBuilder tar;
  tar.AddFolder("theme/");
  tar.AddFile("theme/theme.txt", "LNam=\"x\"\n---\n");
  tar.AddFile("Untitled", "replaced");
  tar.End();
  KSIStream stream(tar.mData.data(), long(tar.mData.size()));
  ASSERT_EQ(0, fs.ReadFromTar(1, &stream));
  EXPECT_EQ("LNam=\"x\"\n---\n", ReadAll(temp.Item("theme\\theme.txt")));
  EXPECT_EQ("replaced", ReadAll(temp.Item("Untitled")));
  EXPECT_EQ((Names{"theme", "Untitled"}), fs.Names(1));
}

}  // namespace
