// The memory streams, and cStream over an open standard I/O stream.
#include <gtest/gtest.h>

#include <string>

#include "files/KSIStream.h"
#include "files/KSOStream.h"
#include "files/cStream.h"
#include "foundation/KSError.h"

namespace {

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
  EXPECT_EQ(0, out.PutBlock("ab", 2));
  EXPECT_EQ(0, out.Skip(3, true));
  EXPECT_EQ(0, out.Skip(0, true));
  EXPECT_EQ(0, out.Skip(-4, true));
  EXPECT_EQ(0, out.PutBlock("c\0d", 3));
  EXPECT_EQ(std::string("ab\0\0\0c\0d", 8), Str(out.GetBuffer()));
  EXPECT_EQ(0, out.Skip(2, false));
  EXPECT_EQ(10, out.GetBuffer().length());

  out.Reset();
  out.PrintDelimitedCStr("say \"hi\"\n\\\x01");
  EXPECT_EQ("\"say \\\"hi\\\"\\n\\\\\\x01\"", Str(out.GetBuffer()));
  out.Reset();
  out.PrintDelimitedCStr("abcdef", 3);
  out.PrintDelimitedCStr(nullptr, 5);
  EXPECT_EQ("\"abc\"\"\"", Str(out.GetBuffer()));
}

TEST(KSIStream, ReadsSkipsAndStopsAtTheEnd) {
  const char text[] = "0123456789";
  KSIStream in(text, 10);
  char buf[8] = {0};
  EXPECT_EQ(0, in.GetBlock(buf, 3));
  EXPECT_EQ("012", std::string(buf, 3));
  EXPECT_EQ(0, in.GetBlock(nullptr, 2));
  UtilStr str;
  EXPECT_EQ(0, in.GetBlock(4, &str));
  EXPECT_EQ("5678", Str(str));
  EXPECT_EQ(kKSErr_EOF, in.GetBlock(4, &str));
  EXPECT_EQ('9', str.getCStr()[0]);
  EXPECT_EQ(kKSErr_EOF, in.GetState());
  EXPECT_EQ(kKSErr_EOF, in.GetBlock(buf, 1));
  EXPECT_EQ(0, in.GetBlock(buf, 0));

  KSIStream empty;
  EXPECT_EQ(kKSErr_EOF, empty.GetBlock(buf, 1));

  // A stream over a UtilStr keeps its own reference to the bytes.
  KSIStream* owned;
  {
    UtilStr data("shared bytes");
    owned = new KSIStream(data);
    data.Assign("overwritten!");
  }
  EXPECT_EQ(0, owned->GetBlock(12, &str));
  EXPECT_EQ("shared bytes", Str(str));
  delete owned;
}

TEST(KSIStream, RefillsWheneverTheBufferRunsOut) {
  ChunkedStream in("abcdefghij", 3);
  char buf[16] = {0};
  EXPECT_EQ(0, in.GetBlock(buf, 7));
  EXPECT_EQ("abcdefg", std::string(buf, 7));
  EXPECT_EQ(3, in.mRefills);
  EXPECT_EQ(0, in.GetBlock(nullptr, 2));
  // The hook's error ends reading part-way and is what the caller gets.
  EXPECT_EQ(kKSErr_Timeout, in.GetBlock(buf, 5));
  EXPECT_EQ('j', buf[0]);
  EXPECT_EQ(kKSErr_Timeout, in.GetState());
}

TEST(cStream, WrapsAnOpenStream) {
  cStream stream;
  EXPECT_FALSE(stream.IsOpen());
  FILE* file = tmpfile();
  ASSERT_NE(nullptr, file);
  stream.SetHandle(file);
  EXPECT_EQ(6u, stream.Write("abcdef", 6));
  EXPECT_EQ(0, stream.Seek(1, kStreamSeekBeginning));
  EXPECT_EQ(6u, stream.FileSize());
  EXPECT_EQ(1, stream.Position());
  char buf[4] = {0};
  EXPECT_EQ(2u, stream.Read(buf, 2));
  EXPECT_EQ("bc", std::string(buf, 2));
  EXPECT_EQ(0, stream.Seek(1, kStreamSeekCurrent));
  EXPECT_EQ(2u, stream.Read(buf, 4));
  EXPECT_EQ("ef", std::string(buf, 2));

  // Released, the stream is no longer the wrapper's to close.
  stream.ReleaseHandle();
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_EQ(0u, stream.Read(buf, 1));
  EXPECT_EQ(0, fseek(file, 0, SEEK_SET));
  fclose(file);
}
