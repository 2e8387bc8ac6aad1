// cSprite: the frames of a control's image. A path with '?' characters names
// numbered frame files ("Button??.bmp": Button01.bmp, Button02.bmp, ...);
// controls step through them for pressed, hover, disabled and animation
// frames. A missing or unreadable frame file leaves its frame empty, and is
// noted with the thread's PictureProblems.
#pragma once

#include <memory>

#include "foundation/KSTypes.h"
#include "platform/cImage.h"

class cSprite {
 public:
  cSprite();
  cSprite(const cSprite&) = delete;
  cSprite& operator=(const cSprite&) = delete;

  // The current frame, or the frame at inIndex (0-based); null when empty.
  virtual cImage* Frame();
  virtual cImage* Frame(unsigned long inIndex);
  virtual unsigned long NumFrames() { return mNumFrames; }
  virtual unsigned long CurFrame() { return mCurFrame; }
  virtual bool Loop() { return mLoop; }
  virtual void Loop(bool inOn);
  // Loops from inStart to inEnd (both included, capped at the last frame).
  virtual void Loop(bool inOn, unsigned long inStart, unsigned long inEnd);
  // Of the current frame; 0 when it is empty.
  virtual long Width();
  virtual long Height();
  virtual ~cSprite();

  // Frames 1 to n of a '?' pattern, where n is the highest number up to 32
  // whose file exists; a path without '?' is one frame. kKSErr_FileNotFound
  // when no frame file exists.
  virtual long Load(const char* inPath);
  virtual void Free();
  // Keys the colour out of every loaded frame; the first failure is returned.
  virtual long MakeTransparent(uint8 inRed, uint8 inGreen, uint8 inBlue);
  // Only a loaded frame can become current.
  virtual void SetFrame(unsigned long inIndex);
  // While looping, steps to the next frame, from the loop's end back to its start.
  virtual void Update();

 protected:
  std::unique_ptr<std::unique_ptr<cImage>[]> mFrames;
  uint32 mNumFrames;
  uint32 mCurFrame;
  bool mLoop;
  uint32 mLoopStart;
  uint32 mLoopEnd;
};
