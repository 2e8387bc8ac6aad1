#include "platform/cSprite.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <string>

#include "foundation/KSError.h"
#include "foundation/KSFindHandle.h"
#include "foundation/UtilStr.h"
#include "platform/BaseUtils.h"
#include "platform/KSWideText.h"
#include "platform/PictureProblems.h"

namespace {

const int kMaxFrames = 32;

// A frame file name pattern: the run of '?' from the first one is where the
// frame number goes.
class FramePattern {
 public:
  explicit FramePattern(const char* inPath) : mPath(inPath) {
    mField = mPath.find('?');
    if (mField != std::string::npos) {
      size_t end = mPath.find_first_not_of('?', mField);
      mFieldLen = (end == std::string::npos ? mPath.size() : end) - mField;
      mDigits = int(std::min<size_t>(mFieldLen, cSprite::maxNumberWidth));
    }
  }

  bool IsNumbered() const { return mField != std::string::npos; }

  // The path of frame number inNumber (from 1).
  std::string PathOf(int inNumber) const {
    if (!IsNumbered()) {
      return mPath;
    }
    char number[16];
    snprintf(number, sizeof(number), "%0*d", mDigits, inNumber);
    std::string path = mPath;
    return path.replace(mField, mFieldLen, number);
  }

  // Learns which frame files exist. The numbered names share one folder, so
  // one listing of it answers for all of them; a file system query per
  // possible number was most of the cost of loading a skin.
  void FindFrames() {
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

  // Whether frame number inNumber (from 1) has a file; after FindFrames.
  bool Exists(int inNumber) const { return mExists[size_t(inNumber)]; }

  // The highest frame number whose file exists; 1 for a plain path.
  int CountFrames() const {
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

 private:
  std::string mPath;
  size_t mField = std::string::npos;
  size_t mFieldLen = 0;
  int mDigits = 0;
  std::array<bool, kMaxFrames + 1> mExists{};
};

}  // namespace

cSprite::cSprite() : mNumFrames(0), mCurFrame(0), mLoop(false), mLoopStart(0), mLoopEnd(0) {}

cSprite::~cSprite() {
  Free();
}

cImage* cSprite::Frame() {
  return Frame(mCurFrame);
}

cImage* cSprite::Frame(unsigned long inIndex) {
  return inIndex < mNumFrames ? mFrames[inIndex].get() : nullptr;
}

void cSprite::Loop(bool inOn) {
  mLoop = inOn;
}

void cSprite::Loop(bool inOn, unsigned long inStart, unsigned long inEnd) {
  mLoop = inOn;
  if (inOn && mNumFrames > 0) {
    mLoopStart = uint32(std::min<unsigned long>(inStart, mNumFrames - 1));
    mLoopEnd = uint32(std::min<unsigned long>(inEnd, mNumFrames - 1));
  }
}

long cSprite::Width() {
  cImage* frame = Frame();
  return frame != nullptr ? frame->Width() : 0;
}

long cSprite::Height() {
  cImage* frame = Frame();
  return frame != nullptr ? frame->Height() : 0;
}

long cSprite::Load(const char* inPath) {
  Free();
  FramePattern pattern(inPath);
  pattern.FindFrames();
  int count = pattern.CountFrames();
  if (count == 0) {
    PictureProblems::Note(inPath, kKSErr_FileNotFound, "");
    return kKSErr_FileNotFound;
  }
  mFrames.reset(new (std::nothrow) std::unique_ptr<cImage>[count]);
  if (!mFrames) {
    return kKSErr_AllocFailed;
  }
  mNumFrames = uint32(count);
  for (int i = 0; i < count; i++) {
    std::string path = pattern.PathOf(i + 1);
    if (pattern.IsNumbered() && !pattern.Exists(i + 1)) {
      continue;
    }
    std::unique_ptr<cImage> frame(new (std::nothrow) cImage);
    UtilStr why;
    long err = frame ? frame->LoadFile(path.c_str(), &why) : kKSErr_AllocFailed;
    if (err == 0) {
      mFrames[i] = std::move(frame);
    } else {
      PictureProblems::Note(path, err, std::string(why.getCStr(), size_t(why.length())));
    }
  }
  return 0;
}

void cSprite::Free() {
  mFrames.reset();
  mNumFrames = 0;
  mCurFrame = 0;
  mLoop = false;
  mLoopStart = 0;
  mLoopEnd = 0;
}

long cSprite::MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue) {
  long result = 0;
  for (uint32 i = 0; i < mNumFrames; i++) {
    if (mFrames[i]) {
      long err = mFrames[i]->MakeTransparent(inRed, inGreen, inBlue);
      result = result != 0 ? result : err;
    }
  }
  return result;
}

void cSprite::SetFrame(unsigned long inIndex) {
  if (Frame(inIndex) != nullptr) {
    mCurFrame = uint32(inIndex);
  }
}

void cSprite::Update() {
  if (mLoop && mNumFrames > 0) {
    mCurFrame++;
    if (mCurFrame > mLoopEnd) {
      mCurFrame = mLoopStart;
    }
  }
}
