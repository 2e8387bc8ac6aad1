#include "foundation/KSError.h"

#include "foundation/UtilStr.h"

namespace {

struct ErrorText {
  long mCode;
  const char* mText;
};

const ErrorText kErrorTexts[] = {
    {kKSErr_Internal, "Internal error"},
    {kKSErr_Param, "Parameter error"},
    {kKSErr_Unimplemented, "Unimplemented operation"},
    {kKSErr_IndexOutOfBounds, "Index out of bounds"},
    {kKSErr_BadVersion, "Bad version"},
    {kKSErr_FailedCheck, "Failed check"},
    {kKSErr_AllocFailed, "Allocation failed"},
    {kKSErr_BadState, "Bad state"},
    {kKSErr_UserAborted, "User aborted"},
    {kKSErr_FormatNotRecognized, "Format not recognized"},
    {kKSErr_Protocol, "Protocol error"},
    {kKSErr_UnknownItemType, "Unknown item type"},
    {kKSErr_FileNotFound, "File/Folder not found"},
    {kKSErr_InvalidHardwareMode, "Invalid hardware mode"},
    {kKSErr_UnsupportedMode, "Unsupported mode"},
    {kKSErr_NotPermitted, "Feature/Operation not permitted"},
    {kKSErr_QuotaExceeded, "Quota exceeded"},
    {kKSErr_SymbolNotFound, "Symbol not found"},
    {kKSErr_APINotFound, "Suite/API not found"},
    {kKSErr_Timeout, "Timeout"},
    {kKSErr_AuthFailed, "Authentication failed"},
    {kKSErr_BadDeviceID, "Bad device ID"},
    {kKSErr_PathNotFound, "Path/Folder not found"},
    {kKSErr_CannotBeDirectory, "Item cannot be a directory"},
    {kKSErr_CannotBeFile, "Item cannot be a file"},
    {kKSErr_ReadOnly, "Item is read-only"},
    {kKSErr_FileInUse, "File in use"},
    {kKSErr_DuplicateName, "Item with that name already exists"},
    {kKSErr_IllegalSeek, "Illegal seek"},
    {kKSErr_IO, "IO error"},
    {kKSErr_AccessDenied, "Access denied"},
    {kKSErr_VolumeFull, "Volume full"},
    {kKSErr_IllegalChars, "Name contains illegal characters"},
    {kKSErr_NameTooLong, "Name too long"},
    {kKSErr_NameGenFailed, "Failed to generate file name"},
    {kKSErr_DirNotEmpty, "Directory not empty"},
    {kKSErr_VolumeLocked, "Volume/Disk is locked"},
    {kKSErr_EOF, "Unexpected end of file"},
    {kKSErr_AmbiguousName, "More than one item with that name exists"},
    {kKSErr_TomeMountFailed, "Tome could not be mounted"},
    {kKSErr_TomeRead, "Tome read error"},
    {kKSErr_TomeWrite, "Tome write error"},
};

// Win32 error numbers (GetLastError).
long TranslateOSErr(long inErr) {
  switch (inErr) {
    case 0:
      return 0;
    case 2:   // ERROR_FILE_NOT_FOUND
    case 12:  // ERROR_INVALID_ACCESS
      return kKSErr_FileNotFound;
    case 3:  // ERROR_PATH_NOT_FOUND
      return kKSErr_PathNotFound;
    case 5:  // ERROR_ACCESS_DENIED
      return kKSErr_AccessDenied;
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
      return kKSErr_AllocFailed;
    case 9:   // ERROR_INVALID_BLOCK
    case 20:  // ERROR_BAD_UNIT
    case 21:  // ERROR_NOT_READY
      return kKSErr_IO;
    case 14:  // ERROR_OUTOFMEMORY
    case 18:  // ERROR_NO_MORE_FILES
    case 39:  // ERROR_HANDLE_DISK_FULL
      return kKSErr_VolumeFull;
    case 19:  // ERROR_WRITE_PROTECT
      return kKSErr_VolumeLocked;
    case 52:  // ERROR_DUP_NAME
      return kKSErr_DuplicateName;
    case 120:  // ERROR_CALL_NOT_IMPLEMENTED
      return kKSErr_Unimplemented;
    case 123:  // ERROR_INVALID_NAME
      return kKSErr_IllegalChars;
    case 145:  // ERROR_DIR_NOT_EMPTY
      return kKSErr_DirNotEmpty;
    default:
      return kKSErr_Unmapped;
  }
}

// Results of the DNS-SD client library.
long TranslateDNSServiceErr(long inErr) {
  switch (inErr) {
    case 0:
      return 0;
    case -65538:  // no such name
      return kKSErr_ServiceNotFound;
    case -65540:  // bad parameter
    case -65543:  // bad flags
      return kKSErr_Param;
    case -65544:  // unsupported
      return kKSErr_Unimplemented;
    case -65547:  // already registered
      return kKSErr_AlreadyRegistered;
    case -65548:  // name conflict
      return kKSErr_ServiceNameConflict;
    case -65553:  // refused
      return kKSErr_ConnectRefused;
    default:
      return kKSErr_Unmapped;
  }
}

// Results of the multimedia functions (MMSYSERR_ and WAVERR_ numbers).
long TranslateMMSysErr(long inErr) {
  switch (inErr) {
    case 0:  // MMSYSERR_NOERROR
      return 0;
    case 2:  // MMSYSERR_BADDEVICEID
      return kKSErr_BadDeviceID;
    case 3:  // MMSYSERR_NOTENABLED
      return kKSErr_BadState;
    case 4:   // MMSYSERR_ALLOCATED
    case 33:  // WAVERR_STILLPLAYING
      return kKSErr_FileInUse;
    case 5:   // MMSYSERR_INVALHANDLE
    case 10:  // MMSYSERR_INVALFLAG
    case 11:  // MMSYSERR_INVALPARAM
      return kKSErr_Param;
    case 6:  // MMSYSERR_NODRIVER
      return kKSErr_APINotFound;
    case 7:  // MMSYSERR_NOMEM
      return kKSErr_AllocFailed;
    case 8:   // MMSYSERR_NOTSUPPORTED
    case 32:  // WAVERR_BADFORMAT
      return kKSErr_UnsupportedMode;
    default:
      return kKSErr_Unmapped;
  }
}

}  // namespace

const char* KSError::GetErrMsg(long inErr) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.mCode == inErr) {
      return entry.mText;
    }
  }
  return nullptr;
}

void KSError::GetErrMsg(long inErr, UtilStr* outMsg) {
  if (outMsg == nullptr) {
    return;
  }
  const char* text = GetErrMsg(inErr);
  if (text != nullptr) {
    outMsg->Append(text);
  } else {
    outMsg->AppendVA("Error %ld", inErr);
  }
}

long KSError::TranslateErr(long inErr, KSErrorDomain inDomain) {
  switch (inDomain) {
    case KSErrorDomain_OS:
      return TranslateOSErr(inErr);
    case KSErrorDomain_DNSService:
      return TranslateDNSServiceErr(inErr);
    case KSErrorDomain_MMSYSERROR:
      return TranslateMMSysErr(inErr);
    default:
      // The graphics and network-services domains have no mapping at all.
      return kKSErr_Unmapped;
  }
}
