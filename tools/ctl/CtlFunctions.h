// The UI functions on corvexa-ctl's command line: a function is named by its
// skin name and takes, as text, the value its control would report. The
// script comes from the toolbar's own dispatch table, so that it is the text
// the toolbar sends for the same control and value.
#pragma once

#include "foundation/UtilStr.h"
#include "toolbar/UIDispatchScripts.h"

// Appends what value a function takes, e.g. "a percentage from 0 to 100".
void DescribeCtlValue(const UIScriptEntry& inEntry, UtilStr* outText);

// Builds into outCmd (kCommandBufferSize bytes) the script that the toolbar
// sends when the control of skin name inSkinName (letter case ignored) reports
// inValue (null when no value is given). On a wrong name or value returns
// kKSErr_Param with a sentence for the user in outError.
long BuildFunctionScript(const char* inSkinName, const char* inValue, char* outCmd,
                         UtilStr* outError);
