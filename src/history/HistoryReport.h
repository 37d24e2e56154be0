#pragma once
// The history report without a window: whether there is a history to report, the printed
// page as lines of items, and the text file with its lines.
//
// The printed report decodes the raw records in DownloadBuffer again and lists the
// originator; the file is written from HistoryTable and has no originator column.

#include <QDate>
#include <QList>
#include <QString>

// Whether the grid shows the history of a successful transfer: the start of every transfer
// clears it (the grid is emptied then), a successful one sets it.
extern bool HistoryOnScreen;

// True when the history on screen holds at least one alert in any of its 40 entries,
// whichever group the grid shows and whether or not the alert's date could be read.
bool historyToReport();

// One item of a printed line: text, a tab (to the next tab stop, every 8 columns) or a step
// to the next print zone (every 14 columns); a column is the font's average character width.
struct PrintItem {
    enum class Kind { Text, Tab, Zone };
    Kind kind = Kind::Text;
    QString text;
    bool operator==(const PrintItem &) const = default;
};

struct PrintLine {
    QList<PrintItem> items;
    bool emphasised = false; // printed with the heading's font attribute (bold)
};

constexpr int kPrintTabColumns = 8;
constexpr int kPrintZoneColumns = 14;

// The lines of the printed report, top of the page first (the title on the sixth line),
// from DownloadBuffer, with `today` as the print date and the year of the entries.
QList<PrintLine> historyReportPrintLines(const QDate &today);

// The line of the file for HistoryTable slot s (0 to 39), without its line end:
// " 1:   5-March<TAB>13:45<TAB>01:30<TAB>Tornado Warning".
QString formatReportLine(int s);

// The whole file: 47 lines, each ended by CR LF, with `today` as the save date.
QString historyReportFileText(const QDate &today);

// True when the file name ends in ".TXT" (capitals only); otherwise says so and returns false.
bool checkReportExtension(const QString &fileName);

// Writes the report to `fileName` through a temporary file that replaces it only when
// complete. On failure the old file stays as it was, nothing partial remains, a message
// says that the report was not saved and why, and the result is false.
bool saveHistoryReport(const QString &fileName);

// The texts of the report's failure messages.
QString reportNotSavedText(const QString &fileName, const QString &reason);
QString reportNoPrinterText();
QString reportPrintFailedText();
