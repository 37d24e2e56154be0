#include "diagnostics/DataDump.h"

#include "config/ReceiverConfig.h"
#include "link/HistoryDecoding.h"

#include <QDir>
#include <QLocale>
#include <QSaveFile>

DumpBufferBytes DumpBuffer{};

namespace {

QString yesNo(bool set) { return set ? QStringLiteral("Yes") : QStringLiteral("No"); }


// The value words of a timer code; a code without words adds nothing after its label.
QString timerWords(quint8 code, const std::array<const char *, 7> &words)
{
    return code < words.size() && words[code] ? QString::fromLatin1(words[code]) : QString();
}

} // namespace

QString formatNvDump(const DumpBufferBytes &b)
{
    const QString &nl = kDumpLineEnd;
    QString out;
    auto line = [&out, &nl](const char *label, const QString &value) {
        out += nl + QString::fromLatin1(label) + value;
    };

    line("Line Timeout ..................................... ",
         timerWords(b[2], {"0", "1 Minute", "2 Minutes", "3 Minutes", "4 Minutes", "5 Minutes", "6 Minutes"}));
    line("Voice Interval Time .............................. ",
         timerWords(b[3], {"0", "5 Minutes", "10 Minutes", "15 Minutes", "20 Minutes", "25 Minutes", "30 Minutes"}));
    line("Relay Activation Delay ........................... ",
         timerWords(b[4], {"0", "2 Seconds", "4 Seconds", "6 Seconds", "8 Seconds", nullptr, nullptr}));
    line("Pre Voice Delay .................................. ",
         timerWords(b[5], {"0", "0.5 Second", "1.0 Second", "1.5 Seconds", "2.0 Seconds", nullptr, nullptr}));

    line("Accept All FIP Codes ............................. ", yesNo(memoryBit(b[8], 5)));
    line("Accept All Event Codes ........................... ", yesNo(memoryBit(b[8], 6)));
    line("Ignore Termination Packet ........................ ", yesNo(memoryBit(b[8], 7)));

    line("Permit Voice Interval Annc ....................... ", yesNo(memoryBit(b[11], 1)));
    if (memoryBit(b[11], 1)) {
        if (memoryBit(b[11], 2))
            line("Permit announcements on all decoded events ....... Yes", {});
        else if (memoryBit(b[11], 3))
            line("Permit announcements on Warnings and Watches only. Yes", {});
        else if (memoryBit(b[11], 4))
            line("Permit announcements on Warnings only............. Yes", {});
        line("Limit Monthly/Weekly Test to 15 Minutes Max ...... ", yesNo(memoryBit(b[11], 5)));
    }

    line("Append station identification .................... ", yesNo(memoryBit(b[7], 0)));
    if (memoryBit(b[7], 0)) {
        QString id;
        const int count = b[16]; // at most 255: bytes 17 to 271 lie inside the buffer
        for (int i = 17; i <= 16 + count; ++i)
            id += DecodeIdChar(b[i]);
        line("Station Identification............................ ", id);
        if (memoryBit(b[7], 1))
            line("Proceed announcement with \"This Is\"............... Yes", {});
        if (memoryBit(b[7], 2))
            line("Append \"Repeater\" after ID ....................... Yes", {});
        if (memoryBit(b[7], 3))
            line("Append \"Transmitter\" after ID .................... Yes", {});
    }

    auto chars = [&b](int from, int count) {
        QString text;
        for (int i = from; i < from + count; ++i)
            text += QChar(b[i]); // the receiver's bytes as they are (Latin-1)
        return text;
    };

    out += nl + nl + QStringLiteral("..................STORED FIP CODES.......................") + nl;
    for (int n = 0, p = 32; n < 99; ++n, p += 7) {
        if (b[p] < '0' || b[p] > '9')
            break;
        out += chars(p, 6) + nl;
    }

    out += nl + QStringLiteral(".................STORED EVENT CODES......................") + nl;
    for (int n = 0, p = 208; n < 48; ++n, p += 4) {
        if (b[p] < 'A' || b[p] > 'Z')
            break;
        const QString code = chars(p, 3);
        qint16 alertClass = 0;
        out += code + QStringLiteral("  ") + lookupEvent(code, alertClass) + nl;
    }

    out += QStringLiteral("..................End Of Data Dump.......................") + nl;
    return out;
}

bool RawDumpFilter::take(int byte)
{
    if (byte > 31 && byte <= 255) {
        const QChar c(byte);
        if (isStarted) {
            text += c;
            if (text.size() == 62 || text.size() == 124)
                text += kDumpLineEnd;
        } else {
            scan = (scan + c).right(4);
            if (scan == QLatin1String("ZCZC")) {
                isStarted = true;
                text = QStringLiteral("ZCZC");
            }
        }
    }
    return byte == ETX;
}

QString WriteRegistry()
{
    const auto &r = ReceiverConfig;
    QString out;
    auto item = [&out](const char *prefix, const char *key, const QString &value) {
        out += QString::fromLatin1(prefix) + QString::fromLatin1(key) + u'=' + value + kDumpLineEnd;
    };
    auto flag = [](bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); };
    auto number = [](qint16 value) { return QString::number(value); };

    const char *editor = "REGISTRY_EDITOR.";
    item(editor, "SerialPort", number(r.EDITOR.SerialPort));
    item(editor, "WorkingDirectory", r.EDITOR.WorkingDirectory);
    item(editor, "EditorVersion", r.EDITOR.EditorVersion);
    item(editor, "ReceiverVersion", r.EDITOR.ReceiverVersion);
    item(editor, "ShowTipsAtStartup", flag(r.EDITOR.ShowTipsAtStartup));
    item(editor, "TimeZoneOffset", number(r.EDITOR.TimeZoneOffset));
    item(editor, "DaylightSavings", flag(r.EDITOR.DaylightSavings));
    item(editor, "StateId", number(r.EDITOR.StateID));
    item(editor, "TransmitterLocation", r.EDITOR.TransmitterLocation);
    item(editor, "FrequencyListingFilter", number(r.EDITOR.FrequencyListingFilter));
    item(editor, "UserStationID", r.EDITOR.UserStationID);
    out += kDumpLineEnd;

    const char *nv7 = "NV_RAM_8007.";
    item(nv7, "GiveStationID", flag(r.NV8007.GiveStationID));
    item(nv7, "AppendThisIs", flag(r.NV8007.AppendThisIs));
    item(nv7, "AppendRepeater", flag(r.NV8007.AppendRepeater));
    item(nv7, "AppendTransmitter", flag(r.NV8007.AppendTransmitter));
    out += kDumpLineEnd;

    const char *nv8 = "NV_RAM_8008.";
    item(nv8, "AcceptAllFips", flag(r.NV8008.AcceptAllFips));
    item(nv8, "AcceptAllEvents", flag(r.NV8008.AcceptAllEvents));
    item(nv8, "IgnoreTerminationPacket", flag(r.NV8008.IgnoreTerminationPacket));
    out += kDumpLineEnd;

    const char *nvb = "NV_RAM_800B.";
    item(nvb, "VocAllEvents", flag(r.NV800B.VocAllEvents));
    item(nvb, "VocWarningsWatch", flag(r.NV800B.VocWarningsWatch));
    item(nvb, "VocWarnings", flag(r.NV800B.VocWarnings));
    item(nvb, "VocTruncateTest", flag(r.NV800B.VocTruncateTest));
    out += kDumpLineEnd;

    const char *timers = "NV_RAM_TIMERS.";
    item(timers, "LineTimeoutTimer", number(r.TIMERS.LineTimeoutTimer));
    item(timers, "VoiceIntervalTimer", number(r.TIMERS.VoiceIntervalTimer));
    item(timers, "RelayDelayTimer", number(r.TIMERS.RelayDelayTimer));
    item(timers, "PreVoiceAnnc", number(r.TIMERS.PreVoiceAnnc));
    out += kDumpLineEnd;
    return out;
}

QString dumpFileText(const QString &windowText, const QDateTime &created)
{
    const QString &nl = kDumpLineEnd;
    QString body = windowText;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(u'\n', nl);
    const QString stamp = QLocale(QLocale::English).toString(created, QStringLiteral("dddd, MMMM d, yyyy h:mm:ss AP"));
    return QStringLiteral("File Created On ") + stamp + nl + nl + body + nl + nl +
           QStringLiteral("..............System Registry Parameters.................") + nl + WriteRegistry() +
           QStringLiteral("...............End Of Orvane Core Dump...................") + nl;
}

DumpFileResult writeDumpFile(const QString &directory, const QString &text)
{
    DumpFileResult result;
    const QString path = QDir(directory).absoluteFilePath(kDumpFileName);
    result.path = QDir::toNativeSeparators(path);
    // The new text goes to a temporary file beside ORVANE.TXT, which it replaces only once
    // it is complete: a full disk or a failed write never leaves half a dump or destroys the
    // previous one. Where no temporary file can be made beside it (a folder that is not
    // writable holding a writable ORVANE.TXT) the file is written in place.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write shows in the count: through Qt's buffer a write cut
    // short by a full disk or a size limit still commits as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.error = file.errorString();
        return result;
    }
    const QByteArray bytes = text.toLocal8Bit();
    if (file.write(bytes) != bytes.size()) {
        result.error = file.error() == QFileDevice::NoError ? QStringLiteral("The disk is full.") : file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.written = true;
    return result;
}
