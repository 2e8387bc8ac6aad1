// Item texts of the platform's list and combo boxes, which hold UTF-16, for
// the controls whose items the program keeps in UTF-8.
#pragma once

#include <windows.h>

#include <string>

// The platform form of an item text: a text of 7-bit characters as it is,
// any other converted from UTF-8 and cut to 255 characters.
std::wstring NativeItemText(const char* inText);

// Reads item inIndex of the list or combo box inWind into outText (at most
// inSize - 1 bytes of UTF-8, never part of a character) with the messages
// that give an item's length and text. With inMaxChars above 0 an item of
// that many characters or more reads as an empty text. kKSErr_Param for no
// room, kKSErr_IndexOutOfBounds for an item that does not exist.
long ReadNativeItem(HWND inWind, UINT inLengthMsg, UINT inTextMsg, long inIndex, char* outText,
                    unsigned long inSize, long inMaxChars);
