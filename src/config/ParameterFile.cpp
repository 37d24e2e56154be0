#include "config/ParameterFile.h"

#include "core/MessageCatalogue.h"
#include "config/ReceiverConfig.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr int kStoredFipsSlots = 99;

// Reads one line without its line end; false at the end of the file or on a read error.
bool readLine(QFile &file, QString &line)
{
    if (file.atEnd())
        return false;
    QByteArray bytes = file.readLine();
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
        return false;
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromLatin1(bytes);
    return true;
}

bool readSections(QFile &file)
{
    QString line;
    if (!readLine(file, line) || line != kParameterFileHeader)
        return false;
    if (!readLine(file, line) || line != QLatin1String("[FIP Codes]"))
        return false;
    for (int slot = 0; slot < kStoredFipsSlots; ++slot) {
        if (!readLine(file, line))
            return false;
        FipsList[slot] = line;
    }
    if (!readLine(file, line) || line != QLatin1String("[Event Codes]"))
        return false;
    for (std::size_t slot = 0; slot < EventList.size(); ++slot) {
        if (!readLine(file, line))
            return false;
        EventList[slot] = line;
    }
    return true;
}

// One line of the file: a control character in an entry (a line break above all) would
// split it and shift every later line, so each one is written as a blank.
QByteArray storedLine(const QString &text)
{
    QByteArray bytes = text.toLatin1();
    for (char &c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) == 0x7F)
            c = ' ';
    return bytes;
}

} // namespace

bool readParameterFile()
{
    {
        QFile file(kParameterFileName);
        if (file.open(QIODevice::ReadOnly) && readSections(file))
            return true;
    }
    const auto answer = showProgramMessage(QStringLiteral("Error #199:  Missing or Corrupted Orvane Data File.\r\n"
                                                          "Create Default Data File?"),
                                           QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    loadDefaultLists();
    return true;
}


QByteArray parameterFileContent()
{
    QByteArray out;
    auto line = [&out](const QString &text) {
        out += storedLine(text);
        out += "\r\n";
    };
    line(kParameterFileHeader);
    line(QStringLiteral("[FIP Codes]"));
    for (int slot = 0; slot < kStoredFipsSlots; ++slot)
        line(FipsList[slot]);
    line(QStringLiteral("[Event Codes]"));
    for (const QString &code : EventList)
        line(code);
    return out;
}

// The new file is written beside the old one and takes its name only when complete, so a
// crash, a full disk or a power cut while writing leaves the previous selections intact.
// Where no file can be made beside it (a folder the owner may not write to, holding a file
// he may), the file is written in place, as a plain write would: saving must not fail
// where the file itself can be written.
// The explicit flush matters: a write cut short by a full disk only shows there, and
// committing without it would put the short file in place of the old one.
bool writeParameterFile()
{
    QSaveFile file(kParameterFileName);
    file.setDirectWriteFallback(true);
    const QByteArray content = parameterFileContent();
    const bool written = file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
                         file.flush() && file.commit();
    if (!written) {
        file.cancelWriting();
        showFileError(8);
        return false;
    }
    return true;
}

void loadDefaultLists()
{
    FipsList[0] = QStringLiteral("X 012011  Broward                Florida");
    FipsList[1] = QStringLiteral("X 012085  Martin                 Florida");
    FipsList[2] = QStringLiteral("X 012099  Palm Beach             Florida");
    FipsList[3] = QStringLiteral("X 012111  St. Lucie              Florida");
    const char *events[] = {"FFA", "FFW", "FLA", "FLW", "HWA", "HWW", "SVA", "SVR", "TOA", "TOR", "RMT", "RWT"};
    for (int k = 0; k < 12; ++k)
        EventList[k] = QString::fromLatin1(events[k]);
}
