// corvexa-ctl's standard output and error, and its answer to Ctrl+C.
#pragma once

class UtilStr;

// Sets up the output streams (UTF-8 bytes when redirected, Unicode on a
// console) and the Ctrl+C handler. Call once at the start.
void CtlInitConsole();

// Writes UTF-8 text to standard output / standard error.
void CtlWriteOut(const UtilStr& inText);
void CtlWriteErr(const UtilStr& inText);

// A Win32 event that is set when the user presses Ctrl+C or Ctrl+Break or
// closes the console; the handler then lets the program end by itself.
void* CtlStopEvent();
