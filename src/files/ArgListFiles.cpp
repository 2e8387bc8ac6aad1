// The members of ArgList that read and write through the file layer.
#include "files/KSFile.h"
#include "files/KSOStream.h"
#include "foundation/ArgList.h"
#include "foundation/UtilStr.h"

bool ArgList::SetArgs(const KSFileSpec& inSpec) {
  UtilStr text;
  if (KSFile::ReadFile(inSpec, &text, kArgListMaxFileBytes) != 0) {
    return false;
  }
  SetArgs(text.getCStr(), text.length());
  return true;
}

void ArgList::ExportTo(const char* inSeparator, KSOStream* outStream) const {
  UtilStr text;
  ExportTo(inSeparator, &text);
  outStream->PutBlock(text.getCStr(), text.length());
}
