// What "corvexa-ctl get" shows: the engine's lists and current values, asked
// with the queries the toolbar makes when it connects, and printed as text or
// as one JSON object.
#pragma once

#include <memory>
#include <vector>

#include "foundation/UtilStr.h"
#include "foundation/XStrList.h"

enum CtlReportKind {
  kReportList,    // names, one per line / a JSON array
  kReportText,    // a name or other text
  kReportNumber,  // a number; JSON null when the engine printed none
  kReportOnOff,   // "0" off, anything else on; JSON false / true
  kReportYesNo    // the same, printed as no / yes
};

// One query of "get". The toolbar asks for the display modes device by device
// (0, 1, 2, …) until a device lists none; mByDevice marks that query.
struct CtlGetQuery {
  const char* mKey;    // JSON member name
  const char* mLabel;  // text label
  CtlReportKind mKind;
  bool mByDevice;
  char* (*mBuild)(long inDevice, char* outCmd);
};

// The queries in the order the toolbar sends them, ended by one with a null key.
const CtlGetQuery* CtlGetQueries();

class CtlReport {
 public:
  // An entry that is not a reply, such as the instance's name.
  void AddText(const char* inKey, const char* inLabel, const char* inText);

  // Adds the reply to inQuery. A second reply to the same query (another
  // display device) extends its list.
  void AddReply(const CtlGetQuery& inQuery, const char* inData, long inLen);

  void WriteText(UtilStr* outText) const;
  void WriteJson(UtilStr* outJson) const;

 private:
  struct Entry {
    const char* mKey;
    const char* mLabel;
    CtlReportKind mKind;
    UtilStr mValue;
    XStrList mItems;
  };

  Entry* FindOrAdd(const char* inKey, const char* inLabel, CtlReportKind inKind);
  static bool IsOn(const UtilStr& inValue) { return !inValue.IsEmpty() && !(inValue == "0"); }

  std::vector<std::unique_ptr<Entry>> mEntries;
};
