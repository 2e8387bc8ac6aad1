// Feeds arbitrary bytes to the tar reader of a MemFileSys and then walks
// whatever tree it built. A damaged archive must end in an error code, never
// in a crash or a read past the data.
//
// The first byte is not part of the archive: its low bits pick the file
// system's flags (so that shared and case-sensitive names are reached too),
// and bit 2 asks for every block of the archive to get a correct checksum
// first, so that mutations get past the checksum test and reach the rest.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "files/KSIStream.h"
#include "files/KSTarReader.h"
#include "files/MemFileSys.h"
#include "foundation/UtilStr.h"
#include "foundation/XPtrList.h"

namespace {

void WalkTree(MemFileSys* inFS) {
  XLongList ids;
  inFS->Catalog(1, &ids, kFSCatFilesAndFolders | kFSCatRecursive);
  UtilStr path;
  UtilStr data;
  for (long i = 1; i <= ids.Count(); i++) {
    long id = ids.Fetch(i);
    inFS->GetPathname(id, &path, '/', 1);
    inFS->ReadBlock(id, 1, 3, &data);
    FSCatInfo info;
    inFS->GetCatInfo(id, &info);
  }
  // Deleting the first folder found takes its whole tree down with it.
  for (long i = 1; i <= ids.Count(); i++) {
    if (inFS->GetFlags(ids.Fetch(i), nullptr) & kFSItemFolder) {
      inFS->Delete(ids.Fetch(i));
      break;
    }
  }
}

void SealEveryBlock(std::vector<uint8_t>* ioArchive) {
  for (size_t at = 0; at + kTarBlockSize <= ioArchive->size(); at += kTarBlockSize) {
    KSTarHeader header;
    memcpy(&header, ioArchive->data() + at, sizeof(header));
    unsigned long sum = CalcTarHeaderChecksum(header);
    if (sum != 0) {
      char text[8];
      snprintf(text, sizeof(text), "%06lo", sum & 0777777);
      memcpy(ioArchive->data() + at + offsetof(KSTarHeader, mChecksum), text, 7);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize) {
  if (inSize < 1) {
    return 0;
  }
  MemFileSys fs(inData[0] & (kMemFSNamesNotUnique | kMemFSCaseSensitive));
  std::vector<uint8_t> archive(inData + 1, inData + inSize);
  if (inData[0] & 4) {
    SealEveryBlock(&archive);
  }
  // The exact size, so that any read past the archive is caught.
  KSIStream stream(archive.empty() ? nullptr : archive.data(), long(archive.size()));
  fs.ReadFromTar(1, &stream);
  WalkTree(&fs);
  return 0;
}
