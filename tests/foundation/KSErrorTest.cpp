#include <gtest/gtest.h>

#include <string>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"

namespace {

std::string MessageOf(long inErr) {
  UtilStr msg;
  KSError::GetErrMsg(inErr, &msg);
  return msg.getCStr();
}

TEST(KSError, MessagesAreAppendedAndUnknownCodesShowTheirNumber) {
  EXPECT_EQ("File/Folder not found", MessageOf(kKSErr_FileNotFound));
  EXPECT_EQ("Tome write error", MessageOf(-55085));  // the last of the range with a text
  EXPECT_EQ("Error -55013", MessageOf(kKSErr_Unmapped));
  EXPECT_EQ("Error -55155", MessageOf(-55155));
  EXPECT_EQ("Error 0", MessageOf(0));

  UtilStr msg("Saving failed: ");
  KSError::GetErrMsg(kKSErr_VolumeFull, &msg);
  EXPECT_STREQ("Saving failed: Volume full", msg.getCStr());
  KSError::GetErrMsg(kKSErr_VolumeFull, nullptr);  // allowed
}

// Each platform's error space is read in its own table; what none maps is
// kKSErr_Unmapped, and success stays 0.
TEST(KSError, TranslateErrReadsTheDomainsOwnTable) {
  const struct {
    KSErrorDomain mDomain;
    long mErr;
    long mExpected;
  } kCases[] = {
      {KSErrorDomain_OS, 0, 0},
      {KSErrorDomain_OS, 2, kKSErr_FileNotFound},
      {KSErrorDomain_OS, 10054, kKSErr_Unmapped},
      {KSErrorDomain_MMSYSERROR, 2, -55039},  // the same number, another domain's meaning
      {KSErrorDomain_AGL, 2, kKSErr_Unmapped},
      {KSErrorDomain(5), 0, kKSErr_Unmapped},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.mExpected, KSError::TranslateErr(c.mErr, c.mDomain))
        << "domain " << c.mDomain << ", error " << c.mErr;
  }
}

}  // namespace
