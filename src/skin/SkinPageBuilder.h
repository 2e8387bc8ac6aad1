// What the skin parser builds with: the tool pages of one skin and the
// controls inside them. The parser decides what goes where; a builder makes
// the objects (real tool pages in the application, plain records in tests).
//
// Pages are known by the identifiers the parser gives them: 0 for the
// outermost page, then 1, 2, 3 ... for nested pages in the order in which the
// file names them. Each page goes through MakePage, then any number of
// CreateControl calls and nested pages, then FinishPage when its block ends.
//
// Ownership: a nested page belongs to the builder until AddControl hands it to
// its parent page; a nested page that fails before that is given back with
// DiscardPage. The outermost page is never added or discarded: whoever runs
// the parse takes it from the builder, complete or not.
#pragma once

#include "skin/ControlInfo.h"

// The parent identifier of the outermost page.
constexpr long kNoSkinPage = -1;

class SkinPageBuilder {
 public:
  virtual ~SkinPageBuilder() = default;

  // Makes page inPageID inside inParentID (kNoSkinPage: the outermost page)
  // from the descriptions it starts with.
  virtual long MakePage(long inPageID, long inParentID, const ToolPageInfo& inPageInfo,
                        const ControlInfo& inInfo) = 0;
  // Builds a control of page inPageID from its complete description.
  virtual long CreateControl(long inPageID, const ControlInfo& inInfo) = 0;
  // Appends finished page inChildID to the controls of page inPageID, which
  // from then on owns it. On failure inChildID stays with the builder.
  virtual long AddControl(long inPageID, long inChildID) = 0;
  // Page inPageID's block has ended: its final description and name.
  virtual void FinishPage(long inPageID, const ToolPageInfo& inPageInfo, const ControlInfo& inInfo,
                          const char* inName) = 0;
  // Deletes page inPageID (never added to a parent) with all it holds.
  virtual void DiscardPage(long inPageID) = 0;
  // Every keyword read (a token of sTokenMap) and its byte offset in the
  // text, before what it starts is built; for builders that point back into
  // the file. The base ignores them.
  virtual void NoteKeyword(uint32 inToken, long inOffset) {
    (void)inToken;
    (void)inOffset;
  }
};
