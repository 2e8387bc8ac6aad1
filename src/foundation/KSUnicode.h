// Conversion between UTF-16 and the 8-bit encodings the system reads.
#pragma once

#include "foundation/KSTypes.h"

enum KSTextEncoding {
  kKSEncodingUTF_Unknown = 1,
  kKSEncodingUTF16_Unknown = 2,
  kKSEncodingUTF8 = 10,
  kKSEncodingMacRoman = 11,
  kKSEncodingANSI_1252 = 12,
  kKSEncodingUTF16 = 20,
  kKSEncodingUTF16_BE = 21,
  kKSEncodingUTF16_LE = 22,
  kKSEncodingUTF32 = 30,
  kKSEncodingUTF32_BE = 31,
  kKSEncodingUTF32_LE = 32
};

// Writes inSrc (inSrcLen units, or up to a 0 unit when inSrcLen < 0) as UTF-8,
// after the bytes EF BB BF when inAddBOM. Surrogate pairs become one code point;
// a high surrogate without its low one is dropped. With inDestSize 0 nothing is
// written and the full byte count is returned; otherwise bytes that do not fit
// are dropped and the result is min(count, inDestSize). 0 for bad arguments.
int KSEncodeAsUTF8(const uint16* inSrc, int inSrcLen, uint8* outDest, int inDestSize,
                   bool inAddBOM);

// Decodes inSrc from UTF-8, Mac OS Roman or Windows code page 1252 into UTF-16
// (other encodings give 0). Malformed UTF-8 bytes are dropped one at a time
// (overlong forms, encoded surrogates and code points past U+10FFFF count as
// malformed), and so is U+FEFF. With inCombineDiacriticals a combining mark
// that composes with the character before it replaces that character by the
// precomposed one. The result counts units as KSEncodeAsUTF8 counts bytes. The
// single-byte encodings stop after inDestSize units; with inDestSize 0 they
// still write into outDest when one is given.
int KSEncodeAsUTF16(const uint8* inSrc, int inSrcLen, KSTextEncoding inEncoding, uint16* outDest,
                    int inDestSize, bool inCombineDiacriticals);

// The precomposed character for inBase followed by the combining mark inMark
// (U+0300-U+036F), or 0 if there is none this system knows.
unsigned long KSCombineDiacritical(unsigned long inBase, unsigned long inMark);
