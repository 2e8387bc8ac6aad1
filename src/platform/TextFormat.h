// Format bits of a text: how BaseDrawText lays it out, and the face of the
// font cBaseWindow::InitFont makes for it. Without kTextMultiLine the text
// stays on one line; without an alignment bit it is left- and top-aligned.
#pragma once

enum {
  kTextHCenter = 1,
  kTextRight = 2,
  kTextVCenter = 4,
  kTextBottom = 8,
  kTextEndEllipsis = 16,
  kTextPathEllipsis = 32,
  kTextMultiLine = 64,
  kTextBold = 128,
  kTextItalic = 256,
  kTextUnderline = 512
};
