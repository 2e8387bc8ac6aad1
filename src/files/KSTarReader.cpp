#include "files/KSTarReader.h"

#include <cstddef>
#include <cstring>

#include "files/KSIStream.h"
#include "foundation/KSError.h"

namespace {

constexpr int kChecksumSpan = 500;  // the bytes the checksum covers

bool IsAllZero(const void* inBlock, size_t inBytes) {
  const uint8* bytes = static_cast<const uint8*>(inBlock);
  for (size_t i = 0; i < inBytes; i++) {
    if (bytes[i] != 0) {
      return false;
    }
  }
  return true;
}

// The length of inText up to its first NUL, at most inMax.
long BoundedLength(const char* inText, long inMax) {
  const void* nul = memchr(inText, 0, size_t(inMax));
  return nul ? long(static_cast<const char*>(nul) - inText) : inMax;
}

}  // namespace

unsigned long CalcTarHeaderChecksum(const KSTarHeader& inHeader) {
  const uint8* bytes = reinterpret_cast<const uint8*>(&inHeader);
  if (IsAllZero(bytes, kChecksumSpan)) {
    return 0;
  }
  const size_t checksumStart = offsetof(KSTarHeader, mChecksum);
  const size_t checksumEnd = checksumStart + sizeof(inHeader.mChecksum);
  unsigned long sum = 0;
  for (size_t i = 0; i < kChecksumSpan; i++) {
    bool inChecksumField = i >= checksumStart && i < checksumEnd;
    sum += inChecksumField ? uint8(' ') : bytes[i];
  }
  return sum;
}

KSTarReader::KSTarReader(KSIStream* inStream) : mStream(inStream), mType(0), mSize(0) {}

long KSTarReader::ReadHeader(bool* outAtEnd) {
  *outAtEnd = false;
  mName.Clear();
  mType = 0;
  mSize = 0;
  KSTarHeader header;
  bool allZero = false;
  long err = ReadCheckedBlock(&header, &allZero);
  if (err != 0) {
    return err;
  }
  if (allZero) {
    *outAtEnd = true;
    return 0;
  }
  if (header.mLinkIndicator != kTarTypeLongName) {
    mName.Assign(header.mFileName, BoundedLength(header.mFileName, sizeof(header.mFileName)));
    return TakeItemFields(header);
  }
  err = ReadLongName();
  if (err == 0) {
    // The header of the item the long name belongs to. An all-zero block
    // here passes the check and is then refused for its type.
    err = ReadCheckedBlock(&header, &allZero);
  }
  return err != 0 ? err : TakeItemFields(header);
}

long KSTarReader::ReadContent(UtilStr* outData) {
  long err = outData ? ReadBytes(outData) : mStream->GetBlock(nullptr, int(mSize));
  long padding = (kTarBlockSize - mSize % kTarBlockSize) % kTarBlockSize;
  if (err == 0 && padding > 0) {
    err = mStream->GetBlock(nullptr, int(padding));
  }
  return err;
}

// Reads mSize bytes in pieces, so that a size field claiming far more than
// the archive holds costs no more memory than the archive itself.
long KSTarReader::ReadBytes(UtilStr* outData) {
  outData->Clear();
  char chunk[kTarBlockSize * 8];
  long remaining = mSize;
  while (remaining > 0) {
    long piece = remaining < long(sizeof(chunk)) ? remaining : long(sizeof(chunk));
    long err = mStream->GetBlock(chunk, int(piece));
    if (err != 0) {
      return err;
    }
    outData->Append(chunk, piece);
    remaining -= piece;
  }
  return 0;
}

long KSTarReader::ReadCheckedBlock(KSTarHeader* outHeader, bool* outAllZero) {
  long err = mStream->GetBlock(outHeader, kTarBlockSize);
  if (err != 0) {
    return err;
  }
  *outAllZero = IsAllZero(outHeader, kTarBlockSize);
  if (*outAllZero) {
    return 0;
  }
  long stored = UtilStr::OctalStrToInt(outHeader->mChecksum, sizeof(outHeader->mChecksum));
  if (stored < 0 || static_cast<unsigned long>(stored) != CalcTarHeaderChecksum(*outHeader)) {
    return kKSErr_FailedCheck;
  }
  return 0;
}

// The blocks after an 'L' header: each is part of the name, the one whose
// last byte is zero being the last (its text ends at its first NUL).
long KSTarReader::ReadLongName() {
  char block[kTarBlockSize];
  for (;;) {
    long err = mStream->GetBlock(block, kTarBlockSize);
    if (err != 0) {
      return err;
    }
    if (block[kTarBlockSize - 1] != 0) {
      mName.Append(block, kTarBlockSize);
    } else {
      mName.Append(block, BoundedLength(block, kTarBlockSize));
      return 0;
    }
  }
}

long KSTarReader::TakeItemFields(const KSTarHeader& inHeader) {
  mType = inHeader.mLinkIndicator;
  mSize = UtilStr::OctalStrToInt(inHeader.mItemSize, sizeof(inHeader.mItemSize));
  if (mSize < 0) {
    // Only a sign or an overflowing number gets here: no archive holds that.
    mSize = 0;
    return kKSErr_FailedCheck;
  }
  return 0;
}
