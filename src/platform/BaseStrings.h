// Text helpers of the platform layer that need no platform: splitting and
// joining path names, reading the command template of a shell handler, and
// cutting text to a buffer.
#pragma once

class UtilStr;

// Splits inPath at the last '\', ':' or '/': outName gets what follows it and
// outDir what precedes it (without the separator). Without a separator
// outName is the whole path and outDir is empty. Either output may be null.
void BaseParsePathname(const char* inPath, UtilStr* outDir, UtilStr* outName);

// outPath = inDir, a '\' when inDir is longer than one character and does not
// already end in '\', ':' or '/', then inName. Null texts count as empty.
void BaseMakePathname(UtilStr* outPath, const char* inDir, const char* inName);

// The part of a handler's command template that comes before the document:
// the text up to the first "%1" in double quotes (quotes included), else up
// to the first %1, else the whole template.
void BaseCommandBeforeDocument(const char* inTemplate, UtilStr* outCommand);

// Copies at most inMaxBytes bytes of inText into outText, then a NUL, never
// cutting a UTF-8 sequence in two.
void BaseCopyWholeChars(const UtilStr& inText, char* outText, long inMaxBytes);
