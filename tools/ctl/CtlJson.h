// Writing JSON text for corvexa-ctl's machine-readable output.
#pragma once

class UtilStr;

// Appends inText (inLen bytes, or up to the NUL when below 0) as a JSON
// string: quoted, with quotes, backslashes and control characters escaped.
// UTF-8 passes through unchanged.
void AppendJsonString(UtilStr* ioJson, const char* inText, long inLen = -1);
