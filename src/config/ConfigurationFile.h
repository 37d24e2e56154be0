// Configuration (src/config): the record, its settings store and parameter file; uses core only.
#pragma once
// The owner's own copy of a whole configuration: every field of the record and both lists in
// one text file ("*.orvcfg") that can be kept, mailed and opened on another machine. UTF-8,
// one "Name=value" line per item between a header and an end line:
//   Orvane Configuration File
//   FormatVersion=1
//   EDITOR/SerialPort=1            every settings-store key, in the store's order, each once
//   ...
//   FipsList/0=X 012011  Broward                Florida     non-empty slots 0 to 98 only
//   EventList/0=TOR                                         non-empty slots 0 to 48 only
//   End
// Nothing of the settings store or the parameter file is touched by these files.

#include "config/ReceiverConfig.h"

#include <QByteArray>
#include <QString>

inline const QString kConfigurationFileSuffix = QStringLiteral("orvcfg");
inline const QString kConfigurationFileFilter = QStringLiteral("Orvane Configuration (*.orvcfg)");
constexpr int kConfigurationFormatVersion = 1;
constexpr qint64 kConfigurationFileMaxBytes = 256 * 1024; // far above any real configuration

struct ConfigurationContent {
    ReceiverConfigRecord record;
    std::array<QString, 100> fips;
    std::array<QString, 49> events;
};

// The program's configuration as it stands: the record and both lists.
ConfigurationContent currentConfiguration();
// Puts a configuration in place of the record and both lists.
void applyConfiguration(const ConfigurationContent &content);

QByteArray configurationFileText(const ConfigurationContent &content);

struct ConfigurationParse {
    bool ok = false;
    ConfigurationContent content;
    int line = 0;   // the line the error is on (1-based), when not ok
    QString error;  // what is wrong there
};
// Reads a file's bytes; the content only when every line of the whole file is valid.
ConfigurationParse parseConfigurationFile(const QByteArray &bytes);

// Writes the file through a temporary one that takes its name only when complete. Empty on
// success, else why it failed.
QString writeConfigurationFile(const QString &path, const ConfigurationContent &content);
// Reads and parses a file; a file that cannot be read, or is too large to be a configuration,
// gives an error on line 0.
ConfigurationParse readConfigurationFile(const QString &path);
