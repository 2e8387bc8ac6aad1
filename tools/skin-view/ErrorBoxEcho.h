// While it lives, every message box of this thread is answered at once and
// its title and text are printed on standard output: a skin shown without
// anyone to read its error boxes still says what went wrong.
#pragma once

#include <windows.h>

class ErrorBoxEcho {
 public:
  ErrorBoxEcho();
  ~ErrorBoxEcho();
  ErrorBoxEcho(const ErrorBoxEcho&) = delete;
  ErrorBoxEcho& operator=(const ErrorBoxEcho&) = delete;

 private:
  static LRESULT CALLBACK OnCbt(int inCode, WPARAM inWParam, LPARAM inLParam);

  HHOOK mHook;
};
