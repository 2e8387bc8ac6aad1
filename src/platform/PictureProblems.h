// The pictures that could not be loaded while a skin was being made: missing
// files, unreadable ones and BMPs of a kind that is not read. The window
// that loads a skin keeps a PictureProblems while it does, and then tells
// the user of them once; the controls themselves carry on without pictures.
#pragma once

#include <string>
#include <vector>

struct PictureProblem {
  std::string mPath;  // the file, or the numbered pattern that matched none
  long mErr;          // the load's error code
  std::string mWhy;   // what is wrong with a file that was read; may be empty
};

class PictureProblems {
 public:
  // From now until it goes, every picture this thread fails to load is noted
  // here (in the innermost one when several live).
  PictureProblems();
  ~PictureProblems();
  PictureProblems(const PictureProblems&) = delete;
  PictureProblems& operator=(const PictureProblems&) = delete;

  const std::vector<PictureProblem>& List() const { return mList; }

  // Notes a failed load with the PictureProblems of this thread, if any. A
  // path already noted is not noted again.
  static void Note(const std::string& inPath, long inErr, const std::string& inWhy);

 private:
  std::vector<PictureProblem> mList;
  PictureProblems* mOuter;
  static thread_local PictureProblems* sCurrent;
};
