// The folder name a theme is stored under, made from its logical name.
#pragma once

class UtilStr;

// Names of this many characters or more are shortened.
constexpr int kThemeFolderNameLimit = 30;

// inLogicalName without control bytes and without the characters a file name
// may not hold (* \ / : ? " < > |). A result of kThemeFolderNameLimit or more
// characters keeps its first 23 and last 4, joined by '-'. Characters are
// counted as UTF-8 sequences, so a shortened name never splits one.
void MakeThemeFolderName(const UtilStr& inLogicalName, UtilStr* outName);
