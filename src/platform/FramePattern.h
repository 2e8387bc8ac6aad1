// The file names of a numbered picture: a path whose run of '?' is where the
// frame number goes ("dot??.bmp" names dot01.bmp, dot02.bmp, ...), frames 1 to
// kMaxFrames. The sprite loads by it and the skin checker checks by it.
// Windows only.
#pragma once

#include <array>
#include <string>

class FramePattern {
 public:
  static constexpr int kMaxFrames = 32;
  // The most digits a frame number is written with, however long the run.
  static constexpr int kMaxNumberWidth = 4;

  explicit FramePattern(const char* inPath);

  bool IsNumbered() const { return mField != std::string::npos; }

  // The path of frame number inNumber (from 1); the path itself when it is
  // not numbered.
  std::string PathOf(int inNumber) const;

  // Learns which frame files exist. The numbered names share one folder, so
  // one listing of it answers for all of them; a file system query per
  // possible number was most of the cost of loading a skin.
  void FindFrames();

  // Whether frame number inNumber (from 1) has a file; after FindFrames.
  bool Exists(int inNumber) const { return mExists[size_t(inNumber)]; }

  // The highest frame number whose file exists (0: none); 1 for a plain path.
  int CountFrames() const;

 private:
  std::string mPath;
  size_t mField = std::string::npos;
  size_t mFieldLen = 0;
  int mDigits = 0;
  std::array<bool, kMaxFrames + 1> mExists{};
};
