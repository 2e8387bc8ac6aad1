// The text of "corvexa-ctl --help".
#pragma once

class UtilStr;

// Appends the whole help text, including the functions "do" offers.
void AppendCtlHelp(UtilStr* outText);

// Appends the short hint printed after a usage error.
void AppendCtlUsageHint(UtilStr* outText);
