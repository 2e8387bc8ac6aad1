// The memory streams the themes are read and written through.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "files/KSIStream.h"
#include "files/KSOStream.h"
#include "foundation/KSError.h"
#include "foundation/UtilStr.h"

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
