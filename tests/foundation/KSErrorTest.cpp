#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "foundation/KSError.h"
#include "foundation/UtilStr.h"

namespace {

// Reaches the protected text look-up.
struct ErrorTexts : KSError {
  using KSError::GetErrMsg;
};

std::string MessageOf(long inErr) {
  UtilStr msg;
  KSError::GetErrMsg(inErr, &msg);
  return msg.getCStr();
}

TEST(KSError, MessageTexts) {
  // Each code of the system's range that has a text of its own, and the text.
  std::istringstream texts(
      "-55010 Internal error\n-55011 Parameter error\n-55012 Unimplemented operation\n"
      "-55014 Index out of bounds\n-55015 Bad version\n-55016 Failed check\n"
      "-55017 Allocation failed\n-55021 Bad state\n-55022 User aborted\n"
      "-55024 Format not recognized\n-55025 Protocol error\n-55026 Unknown item type\n"
      "-55027 File/Folder not found\n-55028 Invalid hardware mode\n-55029 Unsupported mode\n"
      "-55030 Feature/Operation not permitted\n-55031 Quota exceeded\n-55033 Symbol not found\n"
      "-55034 Suite/API not found\n-55035 Timeout\n-55036 Authentication failed\n"
      "-55039 Bad device ID\n-55040 Path/Folder not found\n-55041 Item cannot be a directory\n"
      "-55042 Item cannot be a file\n-55043 Item is read-only\n-55044 File in use\n"
      "-55045 Item with that name already exists\n-55046 Illegal seek\n-55047 IO error\n"
      "-55049 Access denied\n-55050 Volume full\n-55051 Name contains illegal characters\n"
      "-55052 Name too long\n-55057 Failed to generate file name\n-55058 Directory not empty\n"
      "-55059 Volume/Disk is locked\n-55072 Unexpected end of file\n"
      "-55082 More than one item with that name exists\n-55083 Tome could not be mounted\n"
      "-55084 Tome read error\n-55085 Tome write error\n");
  int withText = 0;
  for (std::string line; std::getline(texts, line); withText++) {
    EXPECT_EQ(line.substr(7), MessageOf(std::stol(line))) << line;
  }
  // No other code of the range has one.
  for (long code = -55155; code <= -55010; code++) {
    withText -= ErrorTexts::GetErrMsg(code) != nullptr;
  }
  EXPECT_EQ(0, withText);

  EXPECT_EQ("Error -55013", MessageOf(kKSErr_Unmapped));
  EXPECT_EQ("Error 0", MessageOf(0));
  EXPECT_EQ(nullptr, ErrorTexts::GetErrMsg(0));

  // The text is appended; a null destination is allowed.
  UtilStr msg;
  msg.Append("Saving failed: ");
  KSError::GetErrMsg(kKSErr_VolumeFull, &msg);
  EXPECT_STREQ("Saving failed: Volume full", msg.getCStr());
  KSError::GetErrMsg(kKSErr_VolumeFull, nullptr);
}

// inPairs holds platform errors, each followed by the code it must give.
template <size_t N>
void ExpectTranslations(KSErrorDomain inDomain, const long (&inPairs)[N]) {
  for (size_t i = 0; i < N; i += 2) {
    EXPECT_EQ(inPairs[i + 1], KSError::TranslateErr(inPairs[i], inDomain))
        << "domain " << inDomain << ", error " << inPairs[i];
  }
}

TEST(KSError, TranslateErr) {
  const long kOS[] = {0,   0,      2,   -55027, 12, -55027, 3,     -55040, 5,   -55049,
                      8,   -55017, 9,   -55047, 20, -55047, 21,    -55047, 14,  -55050,
                      18,  -55050, 39,  -55050, 19, -55059, 52,    -55045, 120, -55012,
                      123, -55051, 145, -55058, 4,  -55013, 10054, -55013};
  const long kDNS[] = {0,      0,      -65538, -55153, -65540, -55011, -65543, -55011, -65544,
                       -55012, -65547, -55155, -65548, -55150, -65553, -55134, -65545, -55013};
  const long kMM[] = {0, 0,      2,  -55039, 3,  -55021, 4,  -55044, 33, -55044,
                      5, -55011, 10, -55011, 11, -55011, 6,  -55034, 7,  -55017,
                      8, -55029, 32, -55029, 9,  -55013, 34, -55013};
  const long kNeverMapped[] = {0, -55013, 2, -55013};
  ExpectTranslations(KSErrorDomain_OS, kOS);
  ExpectTranslations(KSErrorDomain_DNSService, kDNS);
  ExpectTranslations(KSErrorDomain_MMSYSERROR, kMM);
  ExpectTranslations(KSErrorDomain_AGL, kNeverMapped);
  ExpectTranslations(KSErrorDomain_CFNetServices, kNeverMapped);
  ExpectTranslations(KSErrorDomain(5), kNeverMapped);
}

}  // namespace
