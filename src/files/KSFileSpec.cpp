// KSFileSpec: assignment, normalisation and the path conversions. Nothing here
// touches the disk; the disk operations live in KSFileSpecDisk.cpp.
#include "files/KSFileSpec.h"

#include <cstring>

#include "foundation/KSError.h"
#include "foundation/KSUnicode.h"

#ifdef _WIN32
#include <windows.h>

#include "foundation/KSLastError.h"
#endif

namespace {

const char kLongPathPrefix[] = "\\\\?\\";
const int kLongPathPrefixLen = 4;
// The longest UTF-8 path a UTF-16 path may turn into.
const int kMaxUTF8PathBytes = 2047;
// GetModuleFileNameW's buffer, in units.
const int kModuleNameUnits = 1023;

bool IsNetworkPath(const char* inPath) {
  return inPath[0] == '\\' && inPath[1] == '\\';
}

bool IsLetter(char inChar) {
  return (inChar >= 'a' && inChar <= 'z') || (inChar >= 'A' && inChar <= 'Z');
}

bool IsBareDrive(const char* inPath) {
  return IsLetter(inPath[0]) && inPath[1] == ':' && !inPath[2];
}

}  // namespace

KSFileSpec::KSFileSpec() : mFileNamePos(0) {}

KSFileSpec::KSFileSpec(const KSFileSpec& inSpec)
    : KSObject(), mFileNamePos(inSpec.mFileNamePos), mPathName(inSpec.mPathName) {}

KSFileSpec& KSFileSpec::operator=(const KSFileSpec& inSpec) {
  Assign(inSpec);
  return *this;
}

KSFileSpec::~KSFileSpec() {}

void KSFileSpec::Assign(const KSFileSpec& inSpec) {
  mPathName.Assign(inSpec.mPathName);
  mFileNamePos = inSpec.mFileNamePos;
  Normalise();
}

void KSFileSpec::AssignFromPath(const char* inPath, long inLen) {
  if (inPath == nullptr) {
    Clear();
    return;
  }
  if (inLen < 0) {
    inLen = long(strlen(inPath));
  }
  if (memchr(inPath, '\\', size_t(inLen)) != nullptr) {
    AssignPathText(inPath, inLen);
  } else {
    AssignRelativePath(inPath, int(inLen));
  }
}

void KSFileSpec::AssignAbsolutePath(const uint16* inPath, int inLen) {
  if (inPath == nullptr) {
    Clear();
    return;
  }
  // Measure first, so that a path that does not fit is dropped rather than cut.
  int bytes = KSEncodeAsUTF8(inPath, inLen, nullptr, 0, false);
  if (bytes > kMaxUTF8PathBytes) {
    Clear();
    return;
  }
  char buffer[kMaxUTF8PathBytes + 1];
  bytes = KSEncodeAsUTF8(inPath, inLen, reinterpret_cast<uint8*>(buffer), kMaxUTF8PathBytes, false);
  AssignPathText(buffer, bytes);
}

void KSFileSpec::AssignRelativePath(const char* inPath, int inLen, const KSFileSpec& inBase) {
  if (inBase.IsEmpty()) {
    Clear();
    return;
  }
  if (inPath == nullptr) {
    inLen = 0;
  } else if (inLen < 0) {
    inLen = int(strlen(inPath));
  }
  if (inLen > 0 && inPath[0] == '\\') {
    inPath++;
    inLen--;
  }
  // Built aside, as inBase may be this spec.
  UtilStr path(inBase.mPathName);
  if (inLen > 0) {
    if (path.getCStr()[path.length() - 1] != '\\') {
      path.AppendChar('\\');
    }
    path.Append(inPath, inLen);
  }
  AssignPathText(path.getCStr(), path.length());
}

void KSFileSpec::AssignRelativePath(const char* inPath, int inLen) {
  KSFileSpec processDir;
  if (GetProcessDir(&processDir) != 0) {
    Clear();
    return;
  }
  AssignRelativePath(inPath, inLen, processDir);
}

void KSFileSpec::AssignParent(const KSFileSpec& inSpec) {
  if (inSpec.IsEmpty()) {
    return;
  }
  if (inSpec.mFileNamePos >= inSpec.mPathName.length()) {
    // No separator: a drive such as "C:" is its own parent.
    Assign(inSpec);
    return;
  }
  UtilStr parent(inSpec.mPathName.getCStr(), inSpec.mFileNamePos - 1);
  AssignPathText(parent.getCStr(), parent.length());
}

void KSFileSpec::Clear() {
  mPathName.Clear();
  mFileNamePos = 0;
}

const char* KSFileSpec::GetFileName() const {
  return mPathName.getCStr() + mFileNamePos;
}

void KSFileSpec::GetFileName(UtilStr* outName) const {
  if (outName != nullptr) {
    outName->Assign(GetFileName(), mPathName.length() - mFileNamePos);
  }
}

void KSFileSpec::AssignPathText(const char* inText, long inLen) {
  mPathName.Assign(inText, inLen);
  Normalise();
}

void KSFileSpec::Normalise() {
  if (mPathName.StartsWith(kLongPathPrefix)) {
    mPathName.Replace(0, kLongPathPrefixLen, nullptr, 0);
  }
  int32 len = mPathName.length();
  if (len > 0 && mPathName.getCStr()[len - 1] == '\\') {
    mPathName.TruncR(1);
    len--;
  }
  int32 lastSeparator = mPathName.FindPrevInstanceOf(len, '\\');
  mFileNamePos = lastSeparator > 0 ? lastSeparator : len;
}

long KSFileSpec::GetModuleSpec(void* inModule, KSFileSpec* outSpec) {
  if (outSpec == nullptr) {
    return kKSErr_Param;
  }
#ifdef _WIN32
  wchar_t buffer[kModuleNameUnits + 1];
  DWORD units = GetModuleFileNameW(static_cast<HMODULE>(inModule), buffer, kModuleNameUnits);
  if (units == 0) {
    return KSLastOSError();
  }
  outSpec->AssignAbsolutePath(reinterpret_cast<const uint16*>(buffer), int(units));
  return 0;
#else
  (void)inModule;
  return kKSErr_Unimplemented;
#endif
}

long KSFileSpec::GetProcessDir(KSFileSpec* outSpec) {
  if (outSpec == nullptr) {
    return kKSErr_Param;
  }
  KSFileSpec program;
  long err = GetModuleSpec(nullptr, &program);
  if (err == 0) {
    outSpec->AssignParent(program);
  }
  return err;
}

void KSFileSpec::FindExtension(const UtilStr& inName, UtilStr* outBase, UtilStr* outExt) {
  // Copied first: either output may be inName itself.
  UtilStr name(inName);
  int dotPos = name.FindPrevInstanceOf(name.length(), '.');
  if (dotPos == 0) {
    if (outBase != nullptr) {
      outBase->Assign(name);
    }
    if (outExt != nullptr) {
      outExt->Clear();
    }
    return;
  }
  if (outBase != nullptr) {
    outBase->Assign(name.getCStr(), dotPos - 1);
  }
  if (outExt != nullptr) {
    outExt->Assign(name.getCStr() + dotPos - 1, name.length() - dotPos + 1);
  }
}

long KSFileSpec::GetNativePathname(UtilStr* outPath) const {
  if (IsEmpty()) {
    return kKSErr_BadState;
  }
  if (outPath == nullptr) {
    return kKSErr_Param;
  }
  outPath->Assign(mPathName);
  return 0;
}

int KSFileSpec::GetNativePathname(uint16* outPath, int inMaxUnits) const {
  if (outPath == nullptr || inMaxUnits < 1) {
    return 0;
  }
  outPath[0] = 0;
  if (IsEmpty()) {
    return 0;
  }
  const char* path = mPathName.getCStr();
  int units = 0;
  bool isLocal = strstr(path, "://") == nullptr && !IsNetworkPath(path);
  if (isLocal && inMaxUnits >= 6) {
    for (int i = 0; i < kLongPathPrefixLen; i++) {
      outPath[units++] = uint16(kLongPathPrefix[i]);
    }
  }
  units += KSEncodeAsUTF16(reinterpret_cast<const uint8*>(path), mPathName.length(),
                           kKSEncodingUTF8, outPath + units, inMaxUnits - units - 1, true);
  if (IsBareDrive(path) && units < inMaxUnits) {
    // "C:" is the root of drive C here; to the platform it is "C:\".
    outPath[units++] = '\\';
  }
  if (units >= inMaxUnits - 1) {
    // Never hand out a truncated path: it could name another item.
    outPath[0] = 0;
    return 0;
  }
  outPath[units] = 0;
  return units;
}

long KSFileSpec::GetPOSIXPathname(UtilStr* outPath) const {
  if (outPath == nullptr) {
    return kKSErr_Param;
  }
  outPath->Clear();
  if (IsEmpty()) {
    return kKSErr_BadState;
  }
  const char* path = mPathName.getCStr();
  int schemeEnd = mPathName.contains("://");
  if (schemeEnd > 0) {
    outPath->Assign("/URL/");
    outPath->Append(path, schemeEnd - 1);
    outPath->AppendVA("/%s", path + schemeEnd + 2);
  } else if (IsLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
    outPath->AppendVA("/Volumes/%c/%s", path[0], path + 3);
  } else if (IsNetworkPath(path)) {
    outPath->AppendVA("/URL/smb://%s", path + 2);
  }
  outPath->FindAndReplace('\\', '/');
  if (outPath->length() > 0 && outPath->getCStr()[outPath->length() - 1] == '/') {
    outPath->TruncR(1);
  }
  if (outPath->IsEmpty()) {
    outPath->Clear();
    return kKSErr_Unmapped;
  }
  return 0;
}

uint32 KSFileSpec::HashCode(long inParam) const {
  return mPathName.HashCode(inParam);
}

int32 KSFileSpec::CompareTo(const KSObject* inSpec, long inParam) const {
  const KSFileSpec* other = static_cast<const KSFileSpec*>(inSpec);
  return UtilStr::compare(GetFileName(), other->GetFileName(), inParam == 0);
}
