// Builds tar archives in memory for the tests: ustar headers with correct
// checksums, the 'L' long-name form, and access to the bytes for damaging
// them.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

class TarBuilder {
 public:
  static constexpr size_t kBlock = 512;
  static constexpr size_t kSizeField = 124;
  static constexpr size_t kChecksumField = 148;
  static constexpr size_t kTypeField = 156;
  static constexpr size_t kPrefixField = 345;

  // Adds a header block and returns its offset in the archive.
  size_t AddHeader(const std::string& inName, char inType, size_t inSize) {
    std::string block(kBlock, '\0');
    memcpy(&block[0], inName.data(), inName.size() < 100 ? inName.size() : 100);
    WriteOctal(&block, 100, 8, 0644);
    WriteOctal(&block, kSizeField, 12, inSize);
    block[kTypeField] = inType;
    memcpy(&block[257], "ustar", 6);
    memcpy(&block[263], "00", 2);
    size_t offset = mData.size();
    mData += block;
    Seal(offset);
    return offset;
  }

  size_t AddFile(const std::string& inName, const std::string& inContent) {
    size_t offset = AddHeader(inName, '0', inContent.size());
    AddContent(inContent);
    return offset;
  }
  size_t AddFolder(const std::string& inName) { return AddHeader(inName, '5', 0); }

  // The long-name form: an 'L' header whose content is the name and its NUL,
  // then the header of the item itself.
  void AddLongFile(const std::string& inName, const std::string& inContent) {
    AddHeader("././@LongLink", 'L', inName.size() + 1);
    AddContent(inName + '\0');
    AddFile(inName.substr(0, 99), inContent);
  }

  void AddContent(const std::string& inContent) {
    mData += inContent;
    mData.append((kBlock - inContent.size() % kBlock) % kBlock, '\0');
  }

  void End() { mData.append(2 * kBlock, '\0'); }

  // Puts text into the header at inOffset (fields are NUL-padded) and
  // recomputes its checksum.
  void SetField(size_t inHeader, size_t inField, const std::string& inText) {
    memcpy(&mData[inHeader + inField], inText.data(), inText.size());
    Seal(inHeader);
  }

  // Writes the checksum of the header at inOffset: all 512 bytes summed with
  // the checksum field counted as spaces.
  void Seal(size_t inOffset) {
    memset(&mData[inOffset + kChecksumField], ' ', 8);
    unsigned long sum = 0;
    for (size_t i = 0; i < kBlock; i++) {
      sum += static_cast<unsigned char>(mData[inOffset + i]);
    }
    char text[8];
    snprintf(text, sizeof(text), "%06lo", sum);
    memcpy(&mData[inOffset + kChecksumField], text, 7);  // six digits and a NUL
  }

  std::string mData;

 private:
  static void WriteOctal(std::string* ioBlock, size_t inField, size_t inWidth, size_t inValue) {
    char text[16];
    snprintf(text, sizeof(text), "%0*lo", int(inWidth - 1), static_cast<unsigned long>(inValue));
    memcpy(&(*ioBlock)[inField], text, inWidth - 1);
  }
};
