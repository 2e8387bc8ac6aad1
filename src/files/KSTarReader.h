// KSTarReader: reads the items of a tar archive (ustar headers, with the
// 'L' form of long names) from an input stream, one header and its content at
// a time. It trusts nothing in the archive: a damaged header, a size running
// past the data or a stream that ends early gives an error.
#pragma once

#include "foundation/KSTypes.h"
#include "foundation/UtilStr.h"

class KSIStream;

constexpr int kTarBlockSize = 512;

// Item types of mLinkIndicator that the reader knows.
constexpr char kTarTypeFile = '0';
constexpr char kTarTypeFolder = '5';
constexpr char kTarTypeLongName = 'L';  // the next blocks hold the name of the next item

// One header block. Text fields are NUL-padded, numbers are octal text.
struct KSTarHeader {
  char mFileName[100];  // '/' separated path
  char mFileMode[8];
  char mOwnerUserID[8];
  char mGroupUserID[8];
  char mItemSize[12];  // content size
  char mItemDate[12];
  char mChecksum[8];
  char mLinkIndicator;
  char mLinkedFileName[100];
  char mUSTARIndicator[6];
  char mUSTARVersion[2];
  char mOwnerUsername[32];
  char mOwnerGroupname[32];
  char mDeviceMajorNumber[8];
  char mDeviceMinorNumber[8];
  char mFilenamePrefix[155];
  char mPadding[12];
};
static_assert(sizeof(KSTarHeader) == kTarBlockSize, "a tar header is one block");

// The sum of the first 500 header bytes taken unsigned, the checksum field
// counting as eight spaces; 0 for a header whose 500 bytes are all zero.
unsigned long CalcTarHeaderChecksum(const KSTarHeader& inHeader);

class KSTarReader {
 public:
  explicit KSTarReader(KSIStream* inStream);
  KSTarReader(const KSTarReader&) = delete;
  KSTarReader& operator=(const KSTarReader&) = delete;

  // Reads the next item's header, and its long name when it has one. At the
  // end block of the archive *outAtEnd is set and the result is 0. A header
  // whose checksum does not match gives kKSErr_FailedCheck.
  long ReadHeader(bool* outAtEnd);

  // The item the last ReadHeader found.
  const UtilStr& GetName() const { return mName; }
  char GetType() const { return mType; }
  long GetSize() const { return mSize; }

  // Reads that item's content and skips the padding after it. A null
  // outData skips the content.
  long ReadContent(UtilStr* outData);

 private:
  long ReadCheckedBlock(KSTarHeader* outHeader, bool* outAllZero);
  long ReadLongName();
  long ReadBytes(UtilStr* outData);
  long TakeItemFields(const KSTarHeader& inHeader);

  KSIStream* mStream;
  UtilStr mName;
  char mType;
  long mSize;
};
