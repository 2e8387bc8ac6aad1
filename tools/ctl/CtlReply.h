// Reading the payload of an engine reply. A query prints either one value (a
// number or a name, perhaps followed by a NUL) or a list of NUL-terminated
// names ended by an empty name.
#pragma once

class UtilStr;
class XStrList;

// The value: the text up to the first NUL or the end.
void ReadValueReply(const char* inData, long inLen, UtilStr* outValue);

// The names of a list, up to the first empty one. Appended to outNames.
void ReadListReply(const char* inData, long inLen, XStrList* outNames);

// For a reply of unknown form: its NUL-separated pieces without the empty ones
// at the end, so a value gives one piece and a list one piece per name.
void ReadReplyPieces(const char* inData, long inLen, XStrList* outPieces);

// True when the text is a whole decimal number, as a JSON number reads: an
// optional minus, digits, and optionally a point and more digits.
bool IsPlainNumber(const char* inText);
