#include "history/HistoryReport.h"

#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "link/ReceiverLink.h"
#include "link/HistoryDecoding.h"
#include "link/LinkState.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>

bool HistoryOnScreen = false;

namespace {


bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Builds printed lines the way they are put on paper: items are appended to the current
// line, a line break or the end of a line starts the next one.
class PageText
{
public:
    PageText() { lines.append(PrintLine()); }
    PageText &text(const QString &t) { return add({PrintItem::Kind::Text, t}); }
    PageText &tab() { return add({PrintItem::Kind::Tab, {}}); }
    PageText &zone() { return add({PrintItem::Kind::Zone, {}}); }
    PageText &endLine()
    {
        lines.append(PrintLine());
        return *this;
    }
    PageText &emptyLines() { return endLine().endLine(); } // a line break, then the end of the line
    PageText &emphasise()
    {
        lines.last().emphasised = true;
        return *this;
    }
    QList<PrintLine> finish()
    {
        lines.removeLast(); // the line after the last end of line holds nothing
        return lines;
    }

private:
    PageText &add(PrintItem item)
    {
        lines.last().items.append(std::move(item));
        return *this;
    }
    QList<PrintLine> lines;
};

// One entry of the printed report, decoded again from its raw record.
void printEntry(PageText &page, int k, const QDate &yearStart)
{
    const int base = kHistoryRecordSize * k;
    page.tab().text(QStringLiteral(" ") + QString::number(k + 1)).zone().tab();

    const QString day = downloadBufferText(base, 3);
    if (day < QStringLiteral("001") || day > QStringLiteral("366")) {
        page.text(QStringLiteral(" ")).endLine();
        return;
    }

    // A day that is no number (for instance "1?3") gives no date; the rest still prints.
    DayOffsetText = allDigits(day) ? QString::number(day.toInt() - 1) : QString();
    const QString hour = localHour(base + 4);
    QString time = hour + downloadBufferText(base + 6, 3);
    if (time.size() == 4 && time[1] == u':')
        time.prepend(u'0');
    QString date;
    if (!hour.isEmpty() && !DayOffsetText.isEmpty())
        date = QLocale(QLocale::English, QLocale::UnitedStates)
                   .toString(yearStart.addDays(DayOffsetText.toInt()), QStringLiteral("d-MMM"));

    qint16 alertClass = 0;
    page.text(date).tab().tab().text(time).tab();
    page.text(downloadBufferText(base + 18, 2) + QStringLiteral(":") + downloadBufferText(base + 20, 2)).tab();
    page.text(downloadBufferText(base + 10, 3)).tab();
    page.text(lookupEvent(downloadBufferText(base + 14, 3), alertClass)).endLine();
}

// Writes until everything is written or a write fails, so that the device's error says why
// (the first write on a nearly full disk is only cut short).
bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

bool historyToReport()
{
    return HistoryOnScreen && std::any_of(HistoryTable.begin(), HistoryTable.begin() + kHistoryRecords,
                                          [](const HistoryEntry &entry) { return entry.holdsAlert(); });
}

QList<PrintLine> historyReportPrintLines(const QDate &today)
{
    PageText page;
    // The top of the page stays empty: the title falls on the sixth line.
    for (int i = 0; i < 4; ++i)
        page.endLine().zone();
    page.endLine();
    page.tab().zone().tab().zone().text(QStringLiteral("Orvane Digital Weather Receiver History Report")).endLine();
    page.emptyLines();
    page.tab().text(QStringLiteral("Print date: ") + QLocale().toString(today, QLocale::LongFormat)).endLine();
    page.emptyLines();
    page.emphasise().tab().text(QStringLiteral("Num")).tab().text(QStringLiteral("Event Date")).tab();
    page.text(QStringLiteral("Time")).tab().text(QStringLiteral("Length")).tab().text(QStringLiteral("ORG")).tab();
    page.text(QStringLiteral("Event Code Received")).endLine();
    page.emptyLines();

    const QDate yearStart(today.year(), 1, 1);
    for (int k = 0; k < kHistoryRecords; ++k)
        printEntry(page, k, yearStart);
    return page.finish();
}

QString formatReportLine(int s)
{
    const HistoryEntry &entry = HistoryTable[s];
    return QString::number(s + 1).rightJustified(2, u' ') + QStringLiteral(":   ") + entry.Date + u'\t' +
           entry.Time + u'\t' + entry.Length + u'\t' + entry.Event;
}

QString historyReportFileText(const QDate &today)
{
    QStringList lines = {
        QString(),
        QStringLiteral("Orvane Weather Receiver with SAME"),
        QStringLiteral("File Save Date: ") + QLocale().toString(today, QLocale::ShortFormat),
        QString(),
        QString(),
        QStringLiteral("Num   Date\tTime\tLength\tEvent"),
        QString(),
    };
    for (int s = 0; s < kHistoryRecords; ++s)
        lines << formatReportLine(s);
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool checkReportExtension(const QString &fileName)
{
    if (fileName.endsWith(QStringLiteral(".TXT"), Qt::CaseSensitive))
        return true;
    showProgramMessage(QStringLiteral("Error, Filename must contain the extension .TXT."), QMessageBox::Ok,
                       QMessageBox::Critical, QStringLiteral("File Save Error"));
    return false;
}

QString reportNotSavedText(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Error #304:  History Report Not Saved. \r\n") + fileName + QStringLiteral("\r\n") + reason;
}

QString reportNoPrinterText()
{
    return QStringLiteral("Error #305:  No Printer Found. History Report Not Printed. ");
}

QString reportPrintFailedText()
{
    return errorMessageText(11) + QStringLiteral("History Report Not Printed. ");
}

bool saveHistoryReport(const QString &fileName)
{
    const QByteArray bytes = historyReportFileText(Platform::now().date()).toLocal8Bit();

    // What stood there before, to put back should the file have to be written in place
    // (a folder where no temporary file may be made) and that write fail.
    QFile target(fileName);
    const bool existed = target.exists();
    QByteArray old;
    bool oldKnown = false;
    if (existed && target.open(QIODevice::ReadOnly)) {
        old = target.readAll();
        oldKnown = target.error() == QFileDevice::NoError;
        target.close();
    }

    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    QString reason;
    bool saved = false;
    // Unbuffered, so a write cut short (a full disk) shows in the count written: a buffered
    // flush that writes only part of its buffer still lets the commit succeed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
    } else if (!writeAll(file, bytes)) {
        reason = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file
    } else if (!file.commit()) {
        reason = file.errorString();
    } else {
        saved = true;
    }
    if (saved)
        return true;

    if (oldKnown) {
        QFile restore(fileName);
        const bool changed = !restore.open(QIODevice::ReadOnly) || restore.readAll() != old;
        restore.close();
        if (changed && restore.open(QIODevice::WriteOnly | QIODevice::Truncate))
            restore.write(old);
    } else if (!existed) {
        QFile::remove(fileName);
    }
    showProgramMessage(reportNotSavedText(QDir::toNativeSeparators(fileName), reason));
    return false;
}
