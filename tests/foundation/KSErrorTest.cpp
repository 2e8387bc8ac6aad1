#include <gtest/gtest.h>

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
  const struct {
    long code;
    const char* text;
  } kTexts[] = {
      {-55010, "Internal error"},
      {-55011, "Parameter error"},
      {-55012, "Unimplemented operation"},
      {-55014, "Index out of bounds"},
      {-55015, "Bad version"},
      {-55016, "Failed check"},
      {-55017, "Allocation failed"},
      {-55021, "Bad state"},
      {-55022, "User aborted"},
      {-55024, "Format not recognized"},
      {-55025, "Protocol error"},
      {-55026, "Unknown item type"},
      {-55027, "File/Folder not found"},
      {-55028, "Invalid hardware mode"},
      {-55029, "Unsupported mode"},
      {-55030, "Feature/Operation not permitted"},
      {-55031, "Quota exceeded"},
      {-55033, "Symbol not found"},
      {-55034, "Suite/API not found"},
      {-55035, "Timeout"},
      {-55036, "Authentication failed"},
      {-55039, "Bad device ID"},
      {-55040, "Path/Folder not found"},
      {-55041, "Item cannot be a directory"},
      {-55042, "Item cannot be a file"},
      {-55043, "Item is read-only"},
      {-55044, "File in use"},
      {-55045, "Item with that name already exists"},
      {-55046, "Illegal seek"},
      {-55047, "IO error"},
      {-55049, "Access denied"},
      {-55050, "Volume full"},
      {-55051, "Name contains illegal characters"},
      {-55052, "Name too long"},
      {-55057, "Failed to generate file name"},
      {-55058, "Directory not empty"},
      {-55059, "Volume/Disk is locked"},
      {-55072, "Unexpected end of file"},
      {-55082, "More than one item with that name exists"},
      {-55083, "Tome could not be mounted"},
      {-55084, "Tome read error"},
      {-55085, "Tome write error"},
  };
  for (const auto& t : kTexts) {
    EXPECT_EQ(t.text, MessageOf(t.code)) << t.code;
  }
  // No other code of the system's range has a text of its own.
  int withText = 0;
  for (long code = -55155; code <= -55010; code++) {
    withText += ErrorTexts::GetErrMsg(code) != nullptr;
  }
  EXPECT_EQ(int(sizeof(kTexts) / sizeof(kTexts[0])), withText);

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
