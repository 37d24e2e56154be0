#pragma once
// Putting the history report on the default printer.

// Prints the report's lines (historyReportPrintLines) in "Arial" 10 pt, or its nearest
// match, with tab stops and print zones and a new page whenever a page is full, and ends
// the print job. On a page narrower than the widest line the whole report is made smaller
// to fit its width. When there is no printer or the job fails, a message says that the
// report was not printed and the result is false.
bool printHistoryReport();
