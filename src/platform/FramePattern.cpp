#include "platform/FramePattern.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "foundation/KSFindHandle.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"

FramePattern::FramePattern(const char* inPath) : mPath(inPath) {
  mField = mPath.find('?');
  if (mField != std::string::npos) {
    size_t end = mPath.find_first_not_of('?', mField);
    mFieldLen = (end == std::string::npos ? mPath.size() : end) - mField;
    mDigits = int(std::min<size_t>(mFieldLen, kMaxNumberWidth));
  }
}

std::string FramePattern::PathOf(int inNumber) const {
  if (!IsNumbered()) {
    return mPath;
  }
  char number[16];
  snprintf(number, sizeof(number), "%0*d", mDigits, inNumber);
  std::string path = mPath;
  return path.replace(mField, mFieldLen, number);
}

void FramePattern::FindFrames() {
  mExists.fill(false);
  if (!IsNumbered()) {
    return;
  }
  size_t slash = mPath.find_last_of("\\/");
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (mField < nameStart) {
    // The number is part of a folder name: each path is asked on its own.
    for (int n = 1; n <= kMaxFrames; n++) {
      mExists[size_t(n)] = BaseIsFileExist(PathOf(n).c_str());
    }
    return;
  }
  std::string names[kMaxFrames + 1];
  for (int n = 1; n <= kMaxFrames; n++) {
    names[n] = PathOf(n).substr(nameStart);
  }
  std::string listing = mPath;
  listing.replace(mField, mFieldLen, "*");
  WIN32_FIND_DATAW found;
  KSFindHandle search(FindFirstFileW(KSWideText(listing.c_str()).Get(), &found));
  if (!search) {
    return;
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      continue;
    }
    UtilStr name;
    KSWideText::ToUTF8(found.cFileName, -1, &name);
    for (int n = 1; n <= kMaxFrames; n++) {
      if (UtilStr::compare(name.getCStr(), names[n].c_str(), false) == 0) {
        mExists[size_t(n)] = true;
      }
    }
  } while (FindNextFileW(search.Get(), &found));
}

int FramePattern::CountFrames() const {
  if (!IsNumbered()) {
    return 1;
  }
  for (int n = kMaxFrames; n >= 1; n--) {
    if (Exists(n)) {
      return n;
    }
  }
  return 0;
}
