// Configuration (src/config): the record, its settings store and parameter file; uses core only.
#pragma once
// The county and event selections between runs: "ORVANE_FILE2.DAT" in the current directory,
// 151 CR LF lines: the header, "[FIP Codes]", FipsList slots 0 to 98, "[Event Codes]" and
// EventList slots 0 to 48.

#include <QString>

inline const QString kParameterFileName = QStringLiteral("ORVANE_FILE2.DAT");
inline const QString kParameterFileHeader =
    QStringLiteral("Orvane SAME Digital Weather Receiver Parameter File. DO NOT MODIFY");
constexpr int kParameterFileLines = 151;

// Reads the file into both lists. A missing, damaged or short file asks whether to load the
// defaults: true when the file was read whole or the defaults were taken, false otherwise.
// Slots read before a failure keep what was read.
bool readParameterFile();
// Writes both lists; the old file is replaced only once the new one is complete. A failure
// shows file error 8, which ends the program.
bool writeParameterFile();
// The four default counties into FipsList slots 0 to 3 and twelve event codes into
// EventList slots 0 to 11; no other slot changes and nothing is written.
void loadDefaultLists();

// The file's text for the current lists (exposed for the file's tests).
QByteArray parameterFileContent();
