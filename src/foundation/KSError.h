// Error codes of the whole system and their message texts.
//
// Every fallible operation returns a long: 0 for success, otherwise one of the
// negative codes below. Platform error numbers are turned into these codes with
// KSError::TranslateErr; KSError::GetErrMsg gives the text shown to the user.
#pragma once

class UtilStr;

// Codes that have a message text of their own.
constexpr long kKSErr_Internal = -55010;
constexpr long kKSErr_Param = -55011;
constexpr long kKSErr_Unimplemented = -55012;
constexpr long kKSErr_IndexOutOfBounds = -55014;
constexpr long kKSErr_BadVersion = -55015;
constexpr long kKSErr_FailedCheck = -55016;
constexpr long kKSErr_AllocFailed = -55017;
constexpr long kKSErr_BadState = -55021;
constexpr long kKSErr_UserAborted = -55022;
constexpr long kKSErr_FormatNotRecognized = -55024;
constexpr long kKSErr_Protocol = -55025;
constexpr long kKSErr_UnknownItemType = -55026;
constexpr long kKSErr_FileNotFound = -55027;
constexpr long kKSErr_InvalidHardwareMode = -55028;
constexpr long kKSErr_UnsupportedMode = -55029;
constexpr long kKSErr_NotPermitted = -55030;
constexpr long kKSErr_QuotaExceeded = -55031;
constexpr long kKSErr_SymbolNotFound = -55033;
constexpr long kKSErr_APINotFound = -55034;
constexpr long kKSErr_Timeout = -55035;
constexpr long kKSErr_AuthFailed = -55036;
constexpr long kKSErr_BadDeviceID = -55039;
constexpr long kKSErr_PathNotFound = -55040;
constexpr long kKSErr_CannotBeDirectory = -55041;
constexpr long kKSErr_CannotBeFile = -55042;
constexpr long kKSErr_ReadOnly = -55043;
constexpr long kKSErr_FileInUse = -55044;
constexpr long kKSErr_DuplicateName = -55045;
constexpr long kKSErr_IllegalSeek = -55046;
constexpr long kKSErr_IO = -55047;
constexpr long kKSErr_AccessDenied = -55049;
constexpr long kKSErr_VolumeFull = -55050;
constexpr long kKSErr_IllegalChars = -55051;
constexpr long kKSErr_NameTooLong = -55052;
constexpr long kKSErr_NameGenFailed = -55057;
constexpr long kKSErr_DirNotEmpty = -55058;
constexpr long kKSErr_VolumeLocked = -55059;
constexpr long kKSErr_EOF = -55072;
constexpr long kKSErr_AmbiguousName = -55082;
constexpr long kKSErr_TomeMountFailed = -55083;
constexpr long kKSErr_TomeRead = -55084;
constexpr long kKSErr_TomeWrite = -55085;

// Codes without a text of their own: the user sees "Error <code>".

// A platform error that has no code of its own, or an unexpected platform failure.
constexpr long kKSErr_Unmapped = -55013;
// An asynchronous operation is still in progress.
constexpr long kKSErr_Pending = -55018;
// A path ending in the separator names an item that is not a folder.
constexpr long kKSErr_PathKindMismatch = -55060;
// A whole file is larger than the caller's limit.
constexpr long kKSErr_FileTooBig = -55070;
// A whole file is larger than one read can hold (2147483646 bytes).
constexpr long kKSErr_FileTooLarge = -55071;
// An item ID that must be a folder is not one.
constexpr long kKSErr_NotADirectory = -55081;
// Run-length image data is malformed.
constexpr long kKSErr_BadImageData = -55102;

// Sockets and message-protocol sessions.
constexpr long kKSErr_HostNotFound = -55132;    // a name could not be resolved
constexpr long kKSErr_ConnectRefused = -55134;  // reset or refused while connecting
constexpr long kKSErr_NotConnected = -55136;    // connect failed, or no open session
constexpr long kKSErr_SendQueueFull = -55138;   // outgoing queue full or cannot grow
constexpr long kKSErr_SessionClosed = -55139;   // sending on a closed session
constexpr long kKSErr_SocketError = -55140;     // socket error on an open session

// Service discovery.
constexpr long kKSErr_ServiceNameConflict = -55150;
constexpr long kKSErr_ServiceNotFound = -55153;  // no such service name
constexpr long kKSErr_NotLocalHost = -55154;     // host name is not this machine's
constexpr long kKSErr_AlreadyRegistered = -55155;

// Which platform error space a number passed to TranslateErr comes from.
enum KSErrorDomain {
  KSErrorDomain_OS = 0,             // Win32 error numbers (GetLastError)
  KSErrorDomain_AGL = 1,            // graphics library (never mapped)
  KSErrorDomain_CFNetServices = 2,  // network services (never mapped)
  KSErrorDomain_DNSService = 3,     // DNS-SD client library results
  KSErrorDomain_MMSYSERROR = 4      // multimedia MMSYSERR_ / WAVERR_ results
};

class KSError {
 public:
  // Appends the user-facing text of inErr to outMsg (nothing when outMsg is
  // null). Codes without a text of their own give "Error " and the number.
  static void GetErrMsg(long inErr, UtilStr* outMsg);

  // Maps a platform error number to a code of ours. 0 stays 0 except in the
  // domains that are never mapped; anything unknown gives kKSErr_Unmapped.
  static long TranslateErr(long inErr, KSErrorDomain inDomain);

 protected:
  // The message text of inErr, or null when it has none (0 included).
  static const char* GetErrMsg(long inErr);
};
