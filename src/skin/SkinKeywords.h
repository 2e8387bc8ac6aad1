// The keyword tables of "skin.txt". Every lookup ignores letter case and takes
// the first matching entry (LookupToken).
#pragma once

#include "platform/ControlType.h"
#include "skin/TokenMap.h"

// Token numbers of sTokenMap, the words the parser switches on.
enum eSkinToken {
  kTokenOpenBrace = 0,
  kTokenCloseBrace = 1,
  kTokenOpenParen = 2,
  kTokenCloseParen = 3,
  kTokenComment = 4,
  kTokenToolPage = 5,
  kTokenName = 6,
  kTokenDefaultMode = 7,
  kTokenPageVisible1 = 8,
  kTokenPageVisible2 = 9,
  kTokenControls = 10,
  kTokenButton = 11,
  kTokenCheckBox = 12,
  kTokenComboBox = 13,
  kTokenListBox = 14,
  kTokenSlider = 15,
  kTokenLabel = 16,
  kTokenEdit = 17,
  kTokenLink = 18,
  kTokenListView = 19,
  kTokenGraphic = 20,
  kTokenX = 21,
  kTokenY = 22,
  kTokenWidth = 23,
  kTokenHeight = 24,
  kTokenVisible = 25,
  kTokenX1 = 26,
  kTokenY1 = 27,
  kTokenWidth1 = 28,
  kTokenHeight1 = 29,
  kTokenVisible1 = 30,
  kTokenX2 = 31,
  kTokenY2 = 32,
  kTokenWidth2 = 33,
  kTokenHeight2 = 34,
  kTokenVisible2 = 35,
  kTokenFunction = 36,
  kTokenStyles = 37,
  kTokenFlags = 38,
  kTokenImage = 39,
  kTokenTextColor = 40,
  kTokenBackgroundColor = 41,
  kTokenBorderColor = 42,
  kTokenBorderSize = 43,
  kTokenFontName = 44,
  kTokenFontSize = 45,
  kTokenTransparentColor = 46,
  kTokenTextFormat = 47,
  kTokenText = 48,
  kTokenType = 49,
  kTokenScrollUp = 50,
  kTokenScrollDown = 51,
  kTokenScrollThumb = 52,
  kTokenScrollColor = 53,
  kTokenColumns = 54,
  kTokenColumnWidths = 55,
  kTokenColumnHeaders = 56,
  kTokenFirstTextColumn = 57,
  kTokenTip = 58,
  kTokenMinPos = 59,
  kTokenMaxPos = 60,
  kTokenListBoxHeight = 61
};

extern const TokenMap sTokenMap[];        // every keyword, to eSkinToken
extern const TokenMap sControlModeMap[];  // "Extended", "Retracted"
extern const TokenMap sBooleanMap[];      // "true", "false"
extern const TokenMap sStylesMap[];       // to kStyle... bits
extern const TokenMap sFlagsMap[];        // to kFlag... bits
extern const TokenMap sTextFormatMap[];   // to kText... bits
extern const TokenMap sGraphicTypeMap[];  // to eGraphicType

// The control type that a keyword of a control list names ("Button",
// "CheckBox" ...); false for every other token.
bool ControlTypeOfToken(uint32 inToken, eControlType* outType);
