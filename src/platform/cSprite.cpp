#include "platform/cSprite.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <string>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"
#include "platform/FramePattern.h"
#include "platform/PictureProblems.h"

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
