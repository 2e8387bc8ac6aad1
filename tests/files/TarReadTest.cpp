// The memory streams, and tar archives read through them into a file system.
#include <gtest/gtest.h>

#include <string>

#include "TarBuilder.h"
#include "files/KSIStream.h"
#include "files/KSOStream.h"
#include "files/KSTarReader.h"
#include "files/MemFileSys.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"

namespace {

// A stream over an archive that tells how far reading got.
class ArchiveStream : public KSIStream {
 public:
  explicit ArchiveStream(const std::string& inBytes)
      : KSIStream(UtilStr(inBytes.data(), long(inBytes.size()))) {}
  long Position() const { return mPos; }
};

class TarFileSys : public MemFileSys {
 public:
  TarFileSys() : MemFileSys(0) {}

  long Read(const std::string& inArchive, long* outConsumed = nullptr) {
    ArchiveStream stream(inArchive);
    long err = ReadFromTar(1, &stream);
    if (outConsumed != nullptr) {
      *outConsumed = stream.Position();
    }
    return err;
  }

  // The item at a '/' path below the root, 0 when there is none.
  long Find(const char* inPath) {
    long id = 0;
    long err = GetItemIDFromPath_Impl(1, inPath, -1, false, '/', &id);
    return err == kKSErr_DuplicateName ? id : 0;
  }

  std::string Content(const char* inPath) {
    UtilStr data;
    EXPECT_EQ(0, ReadBlock(Find(inPath), 0, -1, &data)) << inPath;
    return std::string(data.getCStr(), size_t(data.length()));
  }
};

TEST(TarRead, FoldersAndFilesWithTheirContent) {
  TarBuilder tar;
  tar.AddFolder("dir/");
  std::string content(600, 'x');
  content[599] = 'y';
  tar.AddFile("dir/file.txt", content);
  tar.End();
  tar.mData += "trailing bytes that are never read";

  TarFileSys fs;
  long consumed = 0;
  ASSERT_EQ(0, fs.Read(tar.mData, &consumed));
  // 512 + 512 + 1024 bytes of items, then the end block.
  EXPECT_EQ(512 + 512 + 1024 + 512, consumed);

  long dir = fs.Find("dir");
  ASSERT_NE(0, dir);
  EXPECT_EQ(kFSItemCreated | kFSItemFolder, fs.GetFlags(dir, nullptr));
  EXPECT_EQ(content, fs.Content("dir/file.txt"));
  long parent = 0;
  fs.GetParent(fs.Find("dir/file.txt"), &parent);
  EXPECT_EQ(dir, parent);

  // Read again: an existing folder is fine, a file is replaced by a new item.
  long oldFile = fs.Find("dir/file.txt");
  ASSERT_EQ(0, fs.Read(tar.mData));
  EXPECT_EQ(dir, fs.Find("dir"));
  EXPECT_NE(oldFile, fs.Find("dir/file.txt"));
  EXPECT_EQ(3, fs.CountItems());
}

TEST(TarRead, LongNamesAndIgnoredPrefix) {
  const std::string folder(150, 'f');
  const std::string name511(511, 'n');  // its NUL is the last byte of the block
  const std::string name512(512, 'm');  // fills a block; the NUL is in the next one
  TarBuilder tar;
  tar.AddHeader("././@LongLink", 'L', folder.size() + 2);
  tar.AddContent(folder + "/" + '\0');
  tar.AddFolder("unused/");  // the long name stands in for this one
  tar.AddLongFile(folder + "/inner.txt", "inside");
  tar.AddLongFile(name511, "five!");
  tar.AddLongFile(name512, "");
  // A ustar prefix is not part of the name.
  size_t header = tar.AddFile("short.txt", "s");
  tar.SetField(header, TarBuilder::kPrefixField, "some/prefix");
  tar.End();

  TarFileSys fs;
  ASSERT_EQ(0, fs.Read(tar.mData));
  EXPECT_EQ(kFSItemCreated | kFSItemFolder, fs.GetFlags(fs.Find(folder.c_str()), nullptr));
  EXPECT_EQ(0, fs.Find("unused"));
  EXPECT_EQ("inside", fs.Content((folder + "/inner.txt").c_str()));
  EXPECT_EQ("five!", fs.Content(name511.c_str()));
  EXPECT_EQ("", fs.Content(name512.c_str()));
  EXPECT_EQ("s", fs.Content("short.txt"));
  EXPECT_EQ(6, fs.CountItems());
}

TEST(TarRead, DamagedHeadersStopReading) {
  TarBuilder good;
  good.AddFile("first.txt", "1");
  size_t second = good.AddFile("second.txt", "2");
  good.End();

  {
    // A checksum off by one (the archives the builder seals pass, so the sum
    // is taken with the field as spaces); the items before it stay.
    TarBuilder tar = good;
    char& digit = tar.mData[second + TarBuilder::kChecksumField + 5];
    digit = char(digit == '7' ? '6' : digit + 1);
    TarFileSys fs;
    EXPECT_EQ(kKSErr_FailedCheck, fs.Read(tar.mData));
    EXPECT_EQ("1", fs.Content("first.txt"));
    EXPECT_EQ(0, fs.Find("second.txt"));
  }
  // Symbolic links, old-style plain files and the rest are refused, and so
  // is a negative size.
  const struct {
    size_t mField;
    std::string mText;
    long mErr;
  } kDamage[] = {{TarBuilder::kTypeField, "2", kKSErr_UnsupportedMode},
                 {TarBuilder::kTypeField, std::string(1, '\0'), kKSErr_UnsupportedMode},
                 {TarBuilder::kTypeField, "1", kKSErr_UnsupportedMode},
                 {TarBuilder::kTypeField, "x", kKSErr_UnsupportedMode},
                 {TarBuilder::kSizeField, "-0000000001", kKSErr_FailedCheck}};
  for (const auto& damage : kDamage) {
    TarBuilder tar = good;
    tar.SetField(second, damage.mField, damage.mText);
    TarFileSys fs;
    EXPECT_EQ(damage.mErr, fs.Read(tar.mData)) << damage.mField << " " << int(damage.mText[0]);
  }
  {
    // A file in a folder that is not there.
    TarBuilder tar;
    tar.AddFile("missing/file.txt", "x");
    tar.End();
    TarFileSys fs;
    EXPECT_EQ(kKSErr_FileNotFound, fs.Read(tar.mData));
    EXPECT_EQ(1, fs.CountItems());
  }
}

TEST(TarRead, TruncatedArchivesAndSizesPastTheEnd) {
  TarBuilder tar;
  tar.AddFolder("d/");
  tar.AddFile("d/a.txt", std::string(700, 'a'));
  tar.End();
  // Every cut gives an error, whether inside a header, the content, the
  // padding or before the end block.
  for (size_t cut : {size_t(0), size_t(100), size_t(512), size_t(1100), size_t(1300), size_t(2048),
                     size_t(2048 + 511)}) {
    TarFileSys fs;
    EXPECT_NE(0, fs.Read(tar.mData.substr(0, cut))) << cut;
  }

  // A size far past the data is an error, without room being made for it.
  TarBuilder huge;
  size_t header = huge.AddFile("big.bin", "only a little");
  huge.SetField(header, TarBuilder::kSizeField, "17777777777");
  huge.End();
  TarFileSys fs;
  EXPECT_EQ(kKSErr_EOF, fs.Read(huge.mData));

  // A long name that never ends.
  TarBuilder endless;
  endless.AddHeader("././@LongLink", 'L', 5000);
  endless.mData.append(3 * TarBuilder::kBlock, 'z');
  EXPECT_EQ(kKSErr_EOF, fs.Read(endless.mData));
}

std::string Str(const UtilStr& inStr) {
  return std::string(inStr.getCStr(), size_t(inStr.length()));
}

// Hands out its text a few bytes at a time, then ends with an error.
class ChunkedStream : public KSIStream {
 public:
  ChunkedStream(const std::string& inText, int inChunk) : mText(inText), mChunk(inChunk) {}
  int mRefills = 0;

 protected:
  void RefillBuffer() override {
    mRefills++;
    if (mOffset >= mText.size()) {
      mState = int32(kKSErr_Timeout);
      return;
    }
    mBuf = reinterpret_cast<const uint8*>(mText.data()) + mOffset;
    mBufSize = int32(std::min(mText.size() - mOffset, size_t(mChunk)));
    mPos = 0;
    mOffset += size_t(mBufSize);
  }

 private:
  std::string mText;
  int mChunk;
  size_t mOffset = 0;
};

}  // namespace

TEST(KSOStream, CollectsBlocksGapsAndQuotedText) {
  KSOStream out;
  out.PutBlock("ab", 2);
  out.Skip(3, true);
  out.Skip(-4, true);
  out.PutBlock("c\0d", 3);
  EXPECT_EQ(std::string("ab\0\0\0c\0d", 8), Str(out.GetBuffer()));

  out.Reset();
  out.PrintDelimitedCStr("say \"hi\"\n\\\x01");
  out.PrintDelimitedCStr("abcdef", 3);
  EXPECT_EQ("\"say \\\"hi\\\"\\n\\\\\\x01\"\"abc\"", Str(out.GetBuffer()));
}

TEST(KSIStream, ReadsAcrossRefillsAndStopsWithTheError) {
  ChunkedStream in("abcdefghij", 3);
  char buf[16] = {0};
  EXPECT_EQ(0, in.GetBlock(buf, 7));
  EXPECT_EQ("abcdefg", std::string(buf, 7));
  EXPECT_EQ(3, in.mRefills);
  EXPECT_EQ(0, in.GetBlock(nullptr, 2));  // skips
  // The hook's error ends reading part-way and is what the caller gets.
  EXPECT_EQ(kKSErr_Timeout, in.GetBlock(buf, 5));
  EXPECT_EQ('j', buf[0]);
  EXPECT_EQ(kKSErr_Timeout, in.GetState());

  // The plain stream has nothing more after its buffer.
  const char text[] = "0123";
  KSIStream plain(text, 4);
  UtilStr str;
  EXPECT_EQ(0, plain.GetBlock(3, &str));
  EXPECT_EQ("012", Str(str));
  EXPECT_EQ(kKSErr_EOF, plain.GetBlock(3, &str));

  // A stream over a UtilStr keeps its own reference to the bytes.
  UtilStr data("shared bytes");
  KSIStream tied(data);
  data.Assign("overwritten!");
  EXPECT_EQ(0, tied.GetBlock(12, &str));
  EXPECT_EQ("shared bytes", Str(str));
}
