// Diagnostics (src/diagnostics): data dump, About box, tips, help and web links; uses core, config, link.
#pragma once
// The data dump apart from any window and any port: the receiver's memory as the NV dump
// leaves it in DumpBuffer, worded by formatNvDump; the filter that turns the receiver's raw
// answer into the shown SAME text; the listing of the editor's own settings; and the dump
// file ORVANE.TXT, written whole or not at all.
//
// The texts use the dump file's line end, CR LF; the window shows them line for line.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>

// DumpBuffer: the receiver's memory from address 0x8000 as the last NV dump received it
// (bytes 0 to 511; the rest stays 0). It outlives the window, so a dump that times out shows
// what the previous one left. Bytes 0 to 31 follow SettingsImage, 32 to 207 hold the county
// codes ("012011-", 7 bytes each), 208 to 511 the event codes ("TOR-", 4 bytes each). The
// listings may read past byte 511 (99 counties, an identification count up to 255), which is
// why the buffer is longer than the dump.
// Bit n of a memory byte (bit 0 the lowest), as the dump and the programming read it.
inline bool memoryBit(quint8 byte, int n) { return (byte >> n) & 1; }

constexpr int kDumpBufferSize = 1049;
using DumpBufferBytes = std::array<quint8, kDumpBufferSize>;
extern DumpBufferBytes DumpBuffer;

// The exchanges of the dump.
constexpr int kNvDumpBytes = 512;           // memory bytes after STX
constexpr int kDumpProgressMaximum = 2096;  // the progress bar's maximum during both dumps
constexpr int kContactTimeoutMs = 2000;     // "D" must be answered within this
constexpr int kDumpTimeoutMs = 20000;       // the NV and RAW answers must end within this
constexpr int kNvDumpPauseMs = 500;         // pause after "X" before the wait starts
constexpr int STX = 2;
constexpr int ETX = 3;

inline const QString kDumpLineEnd = QStringLiteral("\r\n");
inline const QString kDumpFileName = QStringLiteral("ORVANE.TXT");

// The worded NV dump of `buffer`, as appended to the display: timers, options, station
// identification, the stored county and event codes, and the closing line.
QString formatNvDump(const DumpBufferBytes &buffer);

// The receiving half of the raw dump, byte by byte: only characters above 31 count; nothing
// is kept before "ZCZC" has come; the kept text gets a line end when it is 62 and again when
// it is 124 characters long (its line end of two characters included).
class RawDumpFilter
{
public:
    // Takes one received byte (0 to 255). Returns true when it was ETX, the end of the answer.
    bool take(int byte);
    bool started() const { return isStarted; }
    // The kept text, beginning with "ZCZC"; empty while it has not come.
    QString raw() const { return text; }

private:
    QString text;
    QString scan; // the last characters before "ZCZC" completed (no more are needed)
    bool isStarted = false;
};

// The editor's own settings (the record in memory, not the receiver's), one "Group.Key=value"
// line per item in five groups, each group followed by an empty line.
QString WriteRegistry();

// The whole content of the dump file: "File Created On " with `created`, the window's text,
// the settings listing and the closing line; CR LF line ends. `windowText` may use LF.
QString dumpFileText(const QString &windowText, const QDateTime &created);

struct DumpFileResult {
    bool written = false;
    QString path;  // the file's full path, with the platform's separator
    QString error; // why it was not written
};
// Writes `text` to ORVANE.TXT in `directory` through a temporary file that replaces the old
// file only when complete; a failed write leaves any earlier file as it was.
DumpFileResult writeDumpFile(const QString &directory, const QString &text);
