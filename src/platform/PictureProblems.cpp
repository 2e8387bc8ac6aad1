#include "platform/PictureProblems.h"

thread_local PictureProblems* PictureProblems::sCurrent = nullptr;

PictureProblems::PictureProblems() : mOuter(sCurrent) {
  sCurrent = this;
}

PictureProblems::~PictureProblems() {
  sCurrent = mOuter;
}

void PictureProblems::Note(const std::string& inPath, long inErr, const std::string& inWhy) {
  if (sCurrent == nullptr) {
    return;
  }
  for (const PictureProblem& known : sCurrent->mList) {
    if (known.mPath == inPath) {
      return;
    }
  }
  sCurrent->mList.push_back(PictureProblem{inPath, inErr, inWhy});
}
