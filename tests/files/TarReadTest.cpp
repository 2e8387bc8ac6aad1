// The tar reader on archives made here: each item's name, type, size and
// content, the long-name form and the end blocks; damage is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/KSIStream.h"
#include "files/KSTarReader.h"
#include "foundation/KSError.h"

namespace {

// A header block whose checksum is summed here, with no help from the reader.
std::string Header(const std::string& inName, char inType, const char* inSize,
                   bool inGoodChecksum = true) {
  std::string block(kTarBlockSize, '\0');
  block.replace(0, std::min<size_t>(inName.size(), 99), inName, 0, 99);
  block.replace(124, std::strlen(inSize), inSize);
  block[156] = inType;
  block.replace(257, 5, "ustar");
  block.replace(148, 8, 8, ' ');
  unsigned long sum = 0;
  for (char c : block) {
    sum += static_cast<unsigned char>(c);
  }
  char checksum[8];
  std::snprintf(checksum, sizeof(checksum), "%06lo", inGoodChecksum ? sum : sum + 1);
  block.replace(148, 7, checksum, 7);
  return block;
}

std::string Padded(const std::string& inContent) {
  return inContent + std::string((kTarBlockSize - inContent.size() % kTarBlockSize) % 512, '\0');
}

// "name type size last-three-bytes; ..." for every item, then how reading ended.
std::string ReadAll(const std::string& inArchive) {
  KSIStream stream(inArchive.data(), long(inArchive.size()));
  KSTarReader reader(&stream);
  std::string read;
  for (;;) {
    bool atEnd = false;
    UtilStr content;
    long err = reader.ReadHeader(&atEnd);
    if (err == 0 && !atEnd) {
      err = reader.ReadContent(&content);
    }
    if (err == 0 && !atEnd) {
      std::string tail(content.getCStr(), size_t(content.length()));
      read += std::string(reader.GetName().getCStr()) + " " + reader.GetType() + " " +
              std::to_string(reader.GetSize()) + " " +
              tail.substr(tail.size() - std::min<size_t>(3, tail.size())) + "; ";
    }
    if (err != 0 || atEnd) {
      return read + (err == kKSErr_FailedCheck ? "refused"
                     : err == kKSErr_EOF       ? "cut"
                     : err != 0                ? "error"
                                               : "end");
    }
  }
}

}  // namespace

TEST(TarRead, ItemsAreReadWholeAndDamageIsRefused) {
  const std::string longName = std::string(130, 'n') + "/long.txt";
  const std::string content = std::string(599, 'x') + "yz";  // 601 bytes: two blocks
  const std::string end(2 * kTarBlockSize, '\0');
  const struct {
    std::string mArchive;
    std::string mRead;
  } kCases[] = {
      {Header("dir/", kTarTypeFolder, "0") + Header("dir/a.txt", kTarTypeFile, "1131") +
           Padded(content) + Header("././@LongLink", kTarTypeLongName, "214") +
           Padded(longName + '\0') + Header(longName, kTarTypeFile, "3") + Padded("abc") + end +
           Header("never read", kTarTypeFile, "0"),
       "dir/ 5 0 ; dir/a.txt 0 601 xyz; " + longName + " 0 3 abc; end"},
      {Header("a", kTarTypeFile, "0") + Header("b", kTarTypeFile, "0", false) + end,
       "a 0 0 ; refused"},
      {Header("big", kTarTypeFile, "77777777777") + end, "refused"},
      {Header("minus", kTarTypeFile, "-1") + end, "refused"},
      {Header("a", kTarTypeFile, "1131") + content.substr(0, 100), "cut"},
      {Header("a", kTarTypeFile, "3") + "abc", "cut"},  // the padding is missing
      {Header("a", kTarTypeFile, "0").substr(0, 300), "cut"},
      {"", "cut"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.mRead, ReadAll(c.mArchive)) << c.mRead;
  }
}
