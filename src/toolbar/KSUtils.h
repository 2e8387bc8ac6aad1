// Small shell helpers of the toolbar.
#pragma once

class KSFileSpec;

class KSUtils {
 public:
  // Opens inSpec with the shell's "open" verb in a normal window, as a double
  // click would. kKSErr_Unmapped when the shell cannot.
  static long Open(const KSFileSpec& inSpec);
};
