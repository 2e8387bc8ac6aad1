// One engine notification as corvexa-ctl prints it, as a line of text or as a
// JSON object on one line.
#pragma once

class UtilStr;

// Appends the notification inCode with its description and data texts (never
// null), without a line end. Codes the toolbar does not act on are still shown,
// with their texts as they came.
void DescribeNotice(long inCode, const char* inDesc, const char* inData, UtilStr* outLine);
void DescribeNoticeJson(long inCode, const char* inDesc, const char* inData, UtilStr* outLine);
