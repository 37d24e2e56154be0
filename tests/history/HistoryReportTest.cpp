// The history report: printed through Qt's real print path into a PDF and read back as
// text, saved to a real file and compared byte for byte, the guards of both commands, the
// refusals and failures, and both commands after a transfer against the receiver simulator.

#include "history/HistoryTestSupport.h"
#include "support/TestRegistry.h"
#include "config/ConfigTestSupport.h"
#include "link/LinkTestSupport.h"

#include "app/Startup.h"
#include "history/HistoryGrid.h"
#include "history/HistoryPrinting.h"
#include "history/HistoryReport.h"
#include "history/HistoryReportCommands.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "selection/EventTable.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace {

// A printer that writes a PDF file: the same QPrinter and QPainter path as a real printer.
std::unique_ptr<QPrinter> pdfPrinter(const QString &path, const QPageSize &pageSize = QPageSize(QPageSize::Letter))
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(pageSize);
    return printer;
}

// The metrics of the report's type, Arial 10 pt, on `printer`.
QFontMetricsF reportMetrics(QPrinter &printer)
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(10);
    return QFontMetricsF(arial, &printer);
}

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The PDF's text laid out as on the page, pages separated by form feeds.
QString pdfText(const QString &path)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// The printed line that starts with entry number n, or empty.
QString entryLine(const QStringList &lines, int n)
{
    const QRegularExpression start(QStringLiteral("^\\s*%1(\\s|$)").arg(n));
    for (const QString &line : lines)
        if (start.match(line).hasMatch())
            return line;
    return QString();
}

// Fields separated by runs of blanks, as pdftotext lays them out.
bool lineHasFields(const QString &line, const QStringList &fields)
{
    QStringList escaped;
    for (const QString &f : fields)
        escaped << QRegularExpression::escape(f);
    return QRegularExpression(QStringLiteral("^\\s*") + escaped.join(QStringLiteral("\\s+")) + QStringLiteral("\\s*$"))
        .match(line)
        .hasMatch();
}

// The printed items of a line as text: tabs as "\t", zone steps as "|".
QString itemsText(const PrintLine &line)
{
    QString text;
    for (const PrintItem &item : line.items)
        text += item.kind == PrintItem::Kind::Tab ? QStringLiteral("\t")
              : item.kind == PrintItem::Kind::Zone ? QStringLiteral("|")
                                                   : item.text;
    return text;
}

// The records of the printed-report cases (2026 is not a leap year; offset -5, no DST).
QList<QByteArray> printCaseRecords()
{
    QList<QByteArray> records(40, emptyHistoryRecord());
    records[0] = historyRecord(366, 18, 45, "WXR", "TOR"); // day 366 of 2026 is 1 January 2027
    HistoryRecordFields dayZero;
    dayZero.day = "000";
    records[1] = historyRecord(dayZero);                   // number only
    records[2] = historyRecord(100, 14, 5, "WXR", "RWT");  // 9 local: 09:05
    records[3] = historyRecord(150, 18, 45, "EAS", "XYZ"); // unknown code
    records[4] = historyRecord(64, 18, 45, "CIV", "SVA");  // 5 March
    HistoryRecordFields digitOrg;
    digitOrg.day = "200";
    digitOrg.org = "9AB";
    records[39] = historyRecord(digitOrg);                 // the originator prints as it stands
    return records;
}

// A print system of the test's own: a CUPS scheduler listening on a socket in a temporary
// folder, with one queue, the default, described by a PPD whose default page is chosen, and
// a back end that copies each job to a file. The report is printed on it by a program of its
// own (Qt's print support asks for the printers once per process).
class PrintQueue
{
public:
    QString failure; // what went wrong, for the test's message

    PrintQueue() : cupsd(QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"})) {}
    ~PrintQueue()
    {
        if (scheduler.state() == QProcess::NotRunning)
            return;
        scheduler.terminate();
        if (!scheduler.waitForFinished(5000)) {
            scheduler.kill();
            scheduler.waitForFinished(5000);
        }
    }
    bool haveScheduler() const { return !cupsd.isEmpty(); }

    // Starts the scheduler with its queue; the path the job will arrive at, or empty.
    QString start(const QString &defaultPage, bool landscape)
    {
        const QString d = dir.path();
        for (const char *sub : {"root/ppd", "bin/backend", "spool", "cache", "state", "log", "out"})
            QDir(d).mkpath(QString::fromLatin1(sub));
        // The scheduler runs its back ends through the helper it is installed with.
        QFile::link(QFileInfo(cupsd).dir().filePath(QStringLiteral("../lib/cups/daemon")), d + QStringLiteral("/bin/daemon"));
        write(QStringLiteral("root/cupsd.conf"),
              QStringLiteral("Listen %1/cups.sock\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                             "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                             "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                  .arg(d));
        write(QStringLiteral("root/cups-files.conf"),
              QStringLiteral("ServerRoot %1/root\nServerBin %1/bin\nRequestRoot %1/spool\nTempDir %1/spool\n"
                             "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/log/error_log\n"
                             "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n")
                  .arg(d));
        write(QStringLiteral("bin/backend/copy"),
              QStringLiteral("#!/bin/sh\n# copy:/file - writes the job to the file\n"
                             "[ $# -eq 0 ] && { echo 'file copy \"Copy\" \"Copies the job to a file\"'; exit 0; }\n"
                             "out=${DEVICE_URI#copy:}\nif [ -n \"$6\" ]; then cat \"$6\"; else cat; fi >\"$out.part\" && mv \"$out.part\" \"$out\"\n"));
        QFile::setPermissions(d + QStringLiteral("/bin/backend/copy"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The PDF the job carries goes to the back end as it stands; the page sizes' printable
        // areas differ, so that the margins show which page the layout took them from.
        QString ppd = QStringLiteral("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                                     "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n"
                                     "*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n*ModelName: \"Test page printer\"\n"
                                     "*ShortNickName: \"Test page printer\"\n*NickName: \"Test page printer\"\n"
                                     "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n"
                                     "*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
                                     "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
                                     "*cupsFilter: \"application/pdf 0 -\"\n");
        const QStringList sizes = {"A4 595 842 18 24 577 818", "A6 298 420 12 30 286 402", "Letter 612 792 30 30 582 762"};
        for (const char *option : {"PageSize", "PageRegion"}) {
            ppd += QStringLiteral("*OpenUI *%1: PickOne\n*OrderDependency: 10 AnySetup *%1\n*Default%1: %2\n").arg(option, defaultPage);
            for (const QString &size : sizes) {
                const QStringList f = size.split(u' ');
                ppd += QStringLiteral("*%1 %2: \"<</PageSize[%3 %4]>>setpagedevice\"\n").arg(option, f[0], f[1], f[2]);
            }
            ppd += QStringLiteral("*CloseUI: *%1\n").arg(option);
        }
        ppd += QStringLiteral("*DefaultImageableArea: %1\n*DefaultPaperDimension: %1\n").arg(defaultPage);
        for (const QString &size : sizes) {
            const QStringList f = size.split(u' ');
            ppd += QStringLiteral("*ImageableArea %1: \"%2 %3 %4 %5\"\n*PaperDimension %1: \"%6 %7\"\n")
                       .arg(f[0], f[3], f[4], f[5], f[6], f[1], f[2]);
        }
        write(QStringLiteral("root/ppd/test.ppd"), ppd);
        write(QStringLiteral("root/printers.conf"),
              QStringLiteral("<DefaultPrinter test>\nInfo Test page printer\nDeviceURI copy:%1/out/job.pdf\n"
                             "State Idle\nAccepting Yes\nShared No\n%2</DefaultPrinter>\n")
                  .arg(d, landscape ? QStringLiteral("Option orientation-requested 4\n") : QString()));

        scheduler.setProcessChannelMode(QProcess::MergedChannels);
        scheduler.start(cupsd, {"-f", "-c", d + "/root/cupsd.conf", "-s", d + "/root/cups-files.conf"});
        QDeadlineTimer deadline(20000);
        while (!QFileInfo::exists(d + QStringLiteral("/cups.sock"))) {
            if (scheduler.waitForFinished(100) || scheduler.state() == QProcess::NotRunning || deadline.hasExpired()) {
                failure = QStringLiteral("cupsd did not start: ") + QString::fromLocal8Bit(scheduler.readAll()) + log();
                return QString();
            }
        }
        return d + QStringLiteral("/out/job.pdf");
    }

    // The report printed by the program on the default printer.
    bool printReport()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), dir.filePath(QStringLiteral("cups.sock")));
        env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("state"))); // no user's own default printer
        env.remove(QStringLiteral("PRINTER"));
        env.remove(QStringLiteral("LPDEST"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral(ORVANE_PRINT_CHILD_BINARY), {});
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished(5000);
            failure = QStringLiteral("the printing program did not finish");
            return false;
        }
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            failure = QStringLiteral("not printed: ") + QString::fromLocal8Bit(child.readAll()) + log();
            return false;
        }
        return true;
    }

    // Waits, at most 30 s, until the back end has written the job.
    bool waitForJob()
    {
        QDeadlineTimer deadline(30000);
        while (!QFileInfo::exists(dir.filePath(QStringLiteral("out/job.pdf")))) {
            if (deadline.hasExpired()) {
                failure = QStringLiteral("no job arrived") + log();
                return false;
            }
            QThread::msleep(50);
        }
        return true;
    }

private:
    QString cupsd;
    QTemporaryDir dir;
    QProcess scheduler;

    void write(const QString &name, const QString &text) { writeFileBytes(dir.filePath(name), text.toUtf8()); }
    QString log() const
    {
        return QStringLiteral("\n") + QString::fromLocal8Bit(fileBytes(dir.filePath(QStringLiteral("log/error_log"))).right(3000));
    }
};

const QString kPrintQuestion = box("Proceed To Dispatch History Report To Printer", QMessageBox::Question,
                                   QMessageBox::Ok | QMessageBox::Cancel, "Print Orvane Event History");
const QStringList kBothRefused = {box("Error #301:  No History Data to Print. "),
                                  box("Error #303:  No History Data to Save. ")};

} // namespace

class HistoryReportTest : public QObject, LinkFixture
{
    Q_OBJECT

    QLocale savedLocale;
    std::unique_ptr<QTemporaryDir> out;
    QList<Platform::SaveDialogRequest> dialogs;
    QStringList dialogAnswers;

    QString outPath(const QString &name) const { return out->filePath(name); }

    void presentDownload(const QList<QByteArray> &records) { ::presentDownload(*main, records); }

    void printTo(const QString &path, const QPageSize &pageSize = QPageSize(QPageSize::Letter))
    {
        Platform::setPrinterProvider([path, pageSize] { return pdfPrinter(path, pageSize); });
    }

    void answerDialog(const QString &fileName) { dialogAnswers << fileName; }

    // A whole transfer from a receiver on port 1 holding `records`.
    void transfer(const QList<QByteArray> &records)
    {
        if (!receiver)
            QVERIFY(startReceiver(1));
        receiver->setHistoryRecords(historyArea(records));
        ReceiverConfig.EDITOR.SerialPort = 1;
        main->cmdMain[6]->click();
    }

private slots:
    void initTestCase()
    {
        initEventTable();
        savedLocale = QLocale();
    }
    void init()
    {
        freshLink();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        doubles().wallClock = QDateTime(QDate(2026, 6, 15), QTime(10, 0));
        ReceiverConfig.EDITOR.TimeZoneOffset = -5;
        ReceiverConfig.EDITOR.DaylightSavings = false;
        PcDaylightActive = false;
        HistoryTable.fill(HistoryEntry());
        ReceiverLink::instance().DownloadBuffer.fill(0);
        HistoryOnScreen = false;
        out = std::make_unique<QTemporaryDir>();
        dialogs.clear();
        dialogAnswers.clear();
        Platform::setSaveDialog([this](const Platform::SaveDialogRequest &request) {
            dialogs << request;
            return dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst();
        });
        Platform::setPrinterProvider([] { return std::unique_ptr<QPrinter>(); });
        showMain();
    }
    void cleanup()
    {
        stopLink();
        Platform::setSaveDialog({});
        Platform::setPrinterProvider({});
        QLocale::setDefault(savedLocale);
        HistoryOnScreen = false;
    }

    // The page as data: the title on the sixth line, the heading emphasised, 54 lines.
    void printedLinesAsData()
    {
        loadDownloadBuffer(printCaseRecords());
        const QList<PrintLine> lines = historyReportPrintLines(QDate(2026, 6, 15));
        QCOMPARE(lines.size(), 54);
        QStringList texts;
        for (const PrintLine &line : lines)
            texts << itemsText(line);
        QCOMPARE(texts.mid(0, 15),
                 QStringList({"", "|", "|", "|", "|", "\t|\t|Orvane Digital Weather Receiver History Report", "", "",
                              "\tPrint date: Monday, June 15, 2026", "", "",
                              "\tNum\tEvent Date\tTime\tLength\tORG\tEvent Code Received", "", "",
                              "\t 1|\t1-Jan\t\t13:45\t01:30\tWXR\tTornado Warning"}));
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i].emphasised, i == 11);
        QCOMPARE(texts[15], QStringLiteral("\t 2|\t "));
        QCOMPARE(texts[16], QStringLiteral("\t 3|\t10-Apr\t\t09:05\t01:30\tWXR\tRequired Weekly Test"));
        QCOMPARE(texts[17], QStringLiteral("\t 4|\t30-May\t\t13:45\t01:30\tEAS\tUnknown Event Code"));
        QCOMPARE(texts[18], QStringLiteral("\t 5|\t5-Mar\t\t13:45\t01:30\tCIV\tSevere Thunderstorm Watch"));
        QCOMPARE(texts[19], QStringLiteral("\t 6|\t "));
        QCOMPARE(texts[52], QStringLiteral("\t 39|\t "));
        QCOMPARE(texts[53], QStringLiteral("\t 40|\t19-Jul\t\t13:45\t01:30\t9AB\tTornado Warning"));
    }

    // Day texts below "001" or above "366" end the line; a time that is not H:MM or HH:MM
    // prints as it stands.
    void printedEntryEdges_data()
    {
        QTest::addColumn<QByteArray>("day");
        QTest::addColumn<QByteArray>("hour");
        QTest::addColumn<QString>("line");
        QTest::newRow("001 across midnight") << QByteArray("001") << QByteArray("03") << "\t 1|\t31-Dec\t\t22:45\t01:30\tCIV\tTornado Warning";
        QTest::newRow("367") << QByteArray("367") << QByteArray("18") << "\t 1|\t ";
        QTest::newRow("999") << QByteArray("999") << QByteArray("18") << "\t 1|\t ";
        QTest::newRow("empty record") << QByteArray("") << QByteArray("18") << "\t 1|\t ";
        QTest::newRow("hour 10 local") << QByteArray("123") << QByteArray("15") << "\t 1|\t3-May\t\t10:45\t01:30\tCIV\tTornado Warning";
        QTest::newRow("bad hour") << QByteArray("123") << QByteArray("x8") << "\t 1|\t\t\t:45\t01:30\tCIV\tTornado Warning";
        QTest::newRow("day no number") << QByteArray("1?3") << QByteArray("18") << "\t 1|\t\t\t13:45\t01:30\tCIV\tTornado Warning";
    }
    void printedEntryEdges()
    {
        QFETCH(QByteArray, day);
        QFETCH(QByteArray, hour);
        QFETCH(QString, line);
        HistoryRecordFields f;
        f.day = day;
        f.hour = hour;
        loadDownloadBuffer({historyRecord(f)});
        QCOMPARE(itemsText(historyReportPrintLines(QDate(2026, 6, 15)).at(14)), line);
    }

    // Through QPrinter into a PDF, read back with pdftotext.
    void printedReportOnPaper()
    {
        presentDownload(printCaseRecords());
        const QString pdf = outPath(QStringLiteral("report.pdf"));
        printTo(pdf);
        QVERIFY(printHistoryReport());
        QVERIFY(doubles().messages.isEmpty());
        const QString text = pdfText(pdf);
        QVERIFY2(!text.isEmpty(), "pdftotext gave no text");
        QVERIFY2(!text.contains(u'\f') || text.indexOf(u'\f') == text.size() - 1, "one page expected");
        const QStringList lines = text.split(u'\n');

        QVERIFY(lines[0].contains(QStringLiteral("Orvane Digital Weather Receiver History Report")));
        QVERIFY(lines.join(u'\n').contains(QRegularExpression(QStringLiteral("Print date: Monday, June 15, 2026"))));
        const QString heading = QStringList({"Num", "Event Date", "Time", "Length", "ORG", "Event Code Received"})
                                    .join(QStringLiteral("\\s+"));
        QVERIFY(QRegularExpression(heading).match(text).hasMatch());

        // Each entry reads as its line of the page data (pinned above), field by field.
        const QList<PrintLine> data = historyReportPrintLines(QDate(2026, 6, 15));
        QStringList entries;
        for (int n = 1; n <= 40; ++n) {
            entries << entryLine(lines, n);
            QStringList fields;
            for (const QString &f : itemsText(data[13 + n]).split(QRegularExpression(QStringLiteral("[\t|]"))))
                if (!f.trimmed().isEmpty())
                    fields << f.trimmed();
            QVERIFY2(lineHasFields(entries.last(), fields), qPrintable(QStringLiteral("entry %1: ").arg(n) + entries.last()));
        }

        // Columns line up under the heading: the event names start where its last title does.
        const QStringList all = lines;
        const int headingLine = all.indexOf(QRegularExpression(QStringLiteral(".*Event Code Received.*")));
        QVERIFY(headingLine > 0);
        const int eventColumn = all[headingLine].indexOf(QStringLiteral("Event Code Received"));
        QCOMPARE(entries[0].indexOf(QStringLiteral("Tornado Warning")), eventColumn);
        QCOMPARE(entries[2].indexOf(QStringLiteral("09:05")), all[headingLine].indexOf(QStringLiteral("Time")));

        // Arial or its nearest match, with a bold face for the heading only.
        const QString fonts = runTool(QStringLiteral("pdffonts"), {pdf});
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSans-Bold")) || fonts.contains(QStringLiteral("Arial-Bold")),
                 qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression(QStringLiteral("(LiberationSans|Arial)(MT)?\\s"))) ||
                     fonts.contains(QStringLiteral("LiberationSans-Regular")),
                 qPrintable(fonts));
    }

    // Arial 10 pt, the title on the sixth line: five line heights below the top of the
    // printable area.
    void titleOnTheSixthLine()
    {
        presentDownload(printCaseRecords());
        const QString pdf = outPath(QStringLiteral("report.pdf"));
        printTo(pdf);
        QVERIFY(printHistoryReport());
        const QString boxes = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        const auto word = [&boxes](const QString &w) {
            const QRegularExpression re(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                                                       "yMax=\"([0-9.]+)\">%1</word>")
                                            .arg(w));
            const auto m = re.match(boxes);
            return m.hasMatch() ? QList<double>{m.captured(1).toDouble(), m.captured(2).toDouble(),
                                                m.captured(3).toDouble()}
                                : QList<double>();
        };
        const auto title = word(QStringLiteral("Orvane"));
        const auto print = word(QStringLiteral("Print"));
        const auto num = word(QStringLiteral("Num"));
        QVERIFY(!title.isEmpty() && !print.isEmpty() && !num.isEmpty());

        auto printer = pdfPrinter(outPath(QStringLiteral("metrics.pdf")));
        const QFontMetricsF metrics = reportMetrics(*printer);
        const double line = metrics.lineSpacing() * 72.0 / printer->resolution();
        QVERIFY(line > 10 && line < 14); // 10 pt type
        const double top = printer->pageLayout().paintRect(QPageLayout::Point).top();
        // Title on line 6, the date on line 9, the heading on line 12.
        const double baseline = metrics.ascent() * 72.0 / printer->resolution();
        QVERIFY2(qAbs(title[2] - (top + 5 * line + baseline)) < 3, qPrintable(QString::number(title[2])));
        QVERIFY(qAbs((print[1] - title[1]) - 3 * line) < 1);
        QVERIFY(qAbs((num[1] - title[1]) - 6 * line) < 1);
        // The title stands at the second print zone (column 28), the date at the first tab.
        const double column = metrics.averageCharWidth() * 72.0 / printer->resolution();
        const double left = printer->pageLayout().paintRect(QPageLayout::Point).left();
        QVERIFY(qAbs(title[0] - (left + 28 * column)) < 1.5);
        QVERIFY(qAbs(print[0] - (left + 8 * column)) < 1.5);
    }

    // On a real print queue whose default page is not A4: the job arrives in the queue's page
    // size and orientation, within the margins the queue gives for that page, and a page
    // too small for the report's 54 lines breaks where the next line would not fit.
    void printedOnTheDefaultQueue_data()
    {
        QTest::addColumn<QString>("defaultPage");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QSizeF>("pagePoints");
        QTest::addColumn<double>("topMargin");
        QTest::addColumn<double>("bottomMargin");
        QTest::newRow("A6") << "A6" << false << QSizeF(297.6, 419.5) << 18.0 << 30.0;
        QTest::newRow("US Letter, landscape") << "Letter" << true << QSizeF(792, 612) << 30.0 << 30.0;
    }
    void printedOnTheDefaultQueue()
    {
        QFETCH(QString, defaultPage);
        QFETCH(bool, landscape);
        QFETCH(QSizeF, pagePoints);
        QFETCH(double, topMargin);
        QFETCH(double, bottomMargin);
        PrintQueue queue;
        if (!queue.haveScheduler())
            QSKIP("cupsd is not installed (Debian package cups-daemon): no print queue to print on");
        const QString job = queue.start(defaultPage, landscape);
        QVERIFY2(!job.isEmpty(), qPrintable(queue.failure));
        QVERIFY2(queue.printReport(), qPrintable(queue.failure));
        QVERIFY2(queue.waitForJob(), qPrintable(queue.failure));

        auto printer = pdfPrinter(outPath(QStringLiteral("metrics.pdf")));
        const double line = reportMetrics(*printer).lineSpacing() * 72.0 / printer->resolution();

        // Each page's size, and the top of each entry line (a word's yMin: its baseline less
        // the font's ascent), entry by entry.
        const QString boxes = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), job, QStringLiteral("-")});
        const QStringList pages = boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1);
        QVERIFY2(!pages.isEmpty(), qPrintable(boxes.left(2000)));
        // Entry numbers stand before the column of the heading's "Event Date".
        const auto heading = QRegularExpression(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>Event</word>")).match(boxes);
        QVERIFY(heading.hasMatch());
        const double dateColumn = heading.captured(1).toDouble();
        QList<int> entries;
        for (int p = 0; p < pages.size(); ++p) {
            const auto size = QRegularExpression(QStringLiteral("^width=\"([0-9.]+)\" height=\"([0-9.]+)\"")).match(pages[p]);
            QVERIFY(size.hasMatch());
            const QString pageSize = size.captured(1) + u'x' + size.captured(2);
            QVERIFY2(qAbs(size.captured(1).toDouble() - pagePoints.width()) < 1 &&
                         qAbs(size.captured(2).toDouble() - pagePoints.height()) < 1,
                     qPrintable(pageSize));
            QList<double> tops;
            auto words = QRegularExpression(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                                                           "yMax=\"[0-9.]+\">([0-9]+)</word>"))
                             .globalMatch(pages[p]);
            while (words.hasNext()) {
                const auto word = words.next();
                if (word.captured(1).toDouble() > dateColumn)
                    continue; // a number further on in its line (the year of the print date)
                entries << word.captured(3).toInt();
                tops << word.captured(2).toDouble();
            }
            QVERIFY(!tops.isEmpty());
            // A page that goes on holds as many lines as fit above the bottom margin.
            const double bottom = pagePoints.height() - bottomMargin;
            if (p + 1 < pages.size())
                QVERIFY2(tops.last() + line < bottom + 0.5 && tops.last() + 2 * line > bottom - 0.5,
                         qPrintable(QStringLiteral("page %1 ends with a line at %2 of %3").arg(p + 1).arg(tops.last()).arg(bottom)));
            if (p > 0) // the next page starts below the top margin
                QVERIFY2(qAbs(tops.first() - topMargin) < 1, qPrintable(QString::number(tops.first())));
        }
        QCOMPARE_GE(pages.size(), 2);
        QList<int> all;
        for (int n = 1; n <= 40; ++n)
            all << n;
        QCOMPARE(entries, all);
    }

    // No printer, or a job the print system refuses: the report is said not to be printed.
    void printingFailures_data()
    {
        QTest::addColumn<bool>("havePrinter");
        QTest::addColumn<QString>("message");
        QTest::newRow("no printer") << false << "Error #305:  No Printer Found. History Report Not Printed. ";
        QTest::newRow("job refused") << true << "Error #302:  Print Spooling Error. History Report Not Printed. ";
    }
    void printingFailures()
    {
        QFETCH(bool, havePrinter);
        QFETCH(QString, message);
        presentDownload(printCaseRecords());
        if (havePrinter) // the output cannot be opened: the job fails at its start
            printTo(outPath(QStringLiteral("no-such-folder/report.pdf")));
        main->cmdMain[8]->click();
        QCOMPARE(shownBoxes(), (QStringList{kPrintQuestion, box(message)}));
    }

    // Without a printer installed the real seam has none to give.
    void realSeamWithoutPrinter()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed here");
        Platform::setPrinterProvider({});
        QVERIFY(!Platform::defaultPrinter());
    }

    // The print button asks first; Cancel prints nothing (OK prints: guards).
    void printCommandAsksFirst()
    {
        presentDownload(printCaseRecords());
        const QString pdf = outPath(QStringLiteral("report.pdf"));
        printTo(pdf);
        doubles().answerNext(QMessageBox::Cancel);
        main->cmdMain[8]->click();
        QCOMPARE(shownBoxes(), QStringList{kPrintQuestion});
        QVERIFY(!QFile::exists(pdf));
    }

    // The file of a history with two alerts, byte for byte.
    void savedFileBytes()
    {
        presentDownload({historyRecord(123, 18, 45, "WXR", "TOR"), historyRecord(64, 14, 5, "CIV", "XYZ")});
        const QString path = outPath(QStringLiteral("REPORT.TXT"));
        answerDialog(path);
        main->mnuSaveAs->trigger();
        QVERIFY(doubles().messages.isEmpty());

        QByteArray expected = "\r\nOrvane Weather Receiver with SAME\r\nFile Save Date: 6/15/26\r\n\r\n\r\n"
                              "Num   Date\tTime\tLength\tEvent\r\n\r\n"
                              " 1:   3-May\t13:45\t01:30\tTornado Warning\r\n"
                              " 2:   5-March\t09:05\t01:30\tUnknown Event Code\r\n";
        for (int n = 3; n <= 40; ++n)
            expected += QByteArray::number(n).rightJustified(2, ' ') + ":   \t\t\t\r\n";
        QCOMPARE(fileBytes(path), expected); // 47 lines, 38 of them empty entries

        // Saving again over the file replaces it whole.
        presentDownload({historyRecord(123, 18, 45, "WXR", "TOR")});
        answerDialog(path);
        main->mnuSaveAs->trigger();
        QVERIFY(fileBytes(path).contains(" 2:   \t\t\t\r\n"));
        QCOMPARE(QDir(out->path()).entryList(QDir::Files), QStringList({"REPORT.TXT"}));
    }

    // The dialog: the one filter, the current directory, an empty name, the overwrite prompt.
    // Cancelling (an empty name) ends the command without a word.
    void saveDialogAndCancel()
    {
        presentDownload(recordsOf(sampleSevenAlerts()));
        main->mnuSaveAs->trigger();
        QCOMPARE(dialogs.size(), 1);
        const Platform::SaveDialogRequest &request = dialogs[0];
        QCOMPARE(request.nameFilter, QStringLiteral("Orvane File(s) *.TXT) (*.TXT)"));
        QCOMPARE(request.directory, QDir::currentPath());
        QCOMPARE(request.fileName, QString());
        QVERIFY(request.confirmOverwrite);
        QCOMPARE(request.parent, main.get());
        QVERIFY(doubles().messages.isEmpty());
        QCOMPARE(QDir::current().entryList({"*.TXT", "*.txt"}, QDir::Files), QStringList());
    }

    // The real dialog: its filter, folder, empty name, and the question before replacing a file.
    void realSaveDialog()
    {
        presentDownload(recordsOf(sampleSevenAlerts()));
        Platform::setSaveDialog({});
        const QString path = QDir::current().filePath(QStringLiteral("OLD.TXT"));
        writeFileBytes(path, "old");
        QStringList seen;
        int ticks = 0;
        QTimer driver;
        // Handles each modal window as it comes up; after 20 s it closes them rather than hang.
        connect(&driver, &QTimer::timeout, this, [&] {
            // The top window that is shown modal (the offscreen platform activates none).
            QWidget *modal = nullptr;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->isModal() && (qobject_cast<QFileDialog *>(w) || qobject_cast<QMessageBox *>(w)))
                    if (!modal || qobject_cast<QMessageBox *>(w))
                        modal = w;
            if (++ticks > 1000 && modal) {
                seen << QStringLiteral("gave up");
                modal->close();
                return;
            }
            if (auto *dialog = qobject_cast<QFileDialog *>(modal); dialog && !seen.contains(QStringLiteral("dialog"))) {
                seen << QStringLiteral("dialog");
                QCOMPARE(dialog->nameFilters(), QStringList({"Orvane File(s) *.TXT) (*.TXT)"}));
                QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Orvane File(s) *.TXT) (*.TXT)"));
                QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
                QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
                QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
                QCOMPARE(dialog->parentWidget(), main.get());
                const QStringList files = dialog->selectedFiles();
                QVERIFY(files.isEmpty() || QFileInfo(files[0]).fileName().isEmpty() || QFileInfo(files[0]).isDir());
                dialog->selectFile(path);
                // selectFile does not always reach the name box before the folder is read: type it.
                if (auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    nameBox->setText(QFileInfo(path).fileName());
                // Queued: the replace question runs its own loop, in which this timer must tick again.
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << QStringLiteral("replace?");
                QTimer::singleShot(0, box->button(QMessageBox::Yes), &QAbstractButton::click);
            }
        });
        driver.start(20);
        main->mnuSaveAs->trigger();
        driver.stop();
        QCOMPARE(seen, QStringList({"dialog", "replace?"}));
        QVERIFY(doubles().messages.isEmpty());
        QVERIFY(fileBytes(path).startsWith("\r\nOrvane Weather Receiver with SAME\r\n"));
    }

    void extensionCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("capitals") << "report.TXT" << true;
        QTest::newRow("lower case") << "report.txt" << false;
        QTest::newRow("mixed case") << "report.Txt" << false;
        QTest::newRow("no extension") << "report" << false;
        QTest::newRow("other extension") << "report.DAT" << false;
        QTest::newRow("TXT without dot") << "reportTXT" << false;
    }
    void extensionCheck()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        presentDownload(recordsOf(sampleSevenAlerts()));
        const QString path = outPath(name);
        answerDialog(path);
        main->mnuSaveAs->trigger();
        QCOMPARE(dialogs.size(), 1); // never reopened
        QCOMPARE(QFile::exists(path), accepted);
        if (accepted) {
            QVERIFY(doubles().messages.isEmpty());
            return;
        }
        QCOMPARE(shownBoxes(), QStringList{box("Error, Filename must contain the extension .TXT.", QMessageBox::Critical,
                                              QMessageBox::Ok, "File Save Error")});
        QCOMPARE(QDir(out->path()).entryList(QDir::Files), QStringList());
    }

    // A write that fails (a full disk, binding root too; a missing folder): the old file stays
    // as it was, nothing partial or temporary remains, and the message says why.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("missingFolder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk, old file") << true << false << "File too large";
        QTest::newRow("full disk, no old file") << false << false << "File too large";
        QTest::newRow("missing folder") << false << true << "No such file or directory";
    }
    void failedWriteKeepsTheOldFile()
    {
        QFETCH(bool, oldFile);
        QFETCH(bool, missingFolder);
        QFETCH(QString, reason);
        presentDownload(recordsOf(sampleSevenAlerts()));
        const QString path = missingFolder ? outPath(QStringLiteral("gone/REPORT.TXT")) : outPath(QStringLiteral("REPORT.TXT"));
        const QByteArray old = "the report of last spring\r\n";
        if (oldFile)
            writeFileBytes(path, old);

        answerDialog(path);
        const bool written = withFileSizeLimit(300, [this] {
            main->mnuSaveAs->trigger();
            return true;
        });
        QVERIFY(written);
        QCOMPARE(QDir(out->path()).entryList(QDir::Files | QDir::Hidden),
                 oldFile ? QStringList({"REPORT.TXT"}) : QStringList());
        if (oldFile)
            QCOMPARE(fileBytes(path), old);
        QCOMPARE(doubles().messages.size(), 1);
        const MessageRequest &message = doubles().messages[0];
        QVERIFY2(message.text.startsWith(QStringLiteral("Error #304:  History Report Not Saved. \r\n")),
                 qPrintable(message.text));
        QVERIFY(message.text.contains(path));
        QVERIFY2(message.text.contains(reason), qPrintable(message.text));
        QCOMPARE(message.title, QStringLiteral("Orvane Digital Weather Receiver"));
        QCOMPARE(message.icon, QMessageBox::Warning);

        // The same save without the limit succeeds.
        if (!missingFolder) {
            answerDialog(path);
            main->mnuSaveAs->trigger();
            QCOMPARE(doubles().messages.size(), 1);
            QVERIFY(fileBytes(path).startsWith("\r\nOrvane Weather Receiver with SAME\r\n"));
        }
    }

    // In a folder where no temporary file may be made, a file that may be written is written
    // in place; when that write fails, the old contents are put back.
    void writableFileInLockedFolder()
    {
        presentDownload(recordsOf(sampleSevenAlerts()));
        const QString folder = outPath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/REPORT.TXT");
        const QByteArray old = "the report of last spring\r\n";
        writeFileBytes(path, old);

        // Cut short by a full disk: the old contents come back and the message says so.
        const int failed = inFolderTakingNoNewFile(folder, [&] {
            const bool saved = withFileSizeLimit(300, [&] { return saveHistoryReport(path); });
            return saved ? 1 : doubles().messages.size() != 1                  ? 2
                           : !doubles().lastMessageText().contains("File too large") ? 3
                                                                                     : 0;
        });
        if (failed == kFolderNotLocked)
            QSKIP("no folder here can be made to refuse new files to this process");
        QCOMPARE(failed, 0);
        QCOMPARE(fileBytes(path), old);

        QCOMPARE(inFolderTakingNoNewFile(folder, [&] { return saveHistoryReport(path) ? 0 : 1; }), 0);
        QCOMPARE(fileBytes(path), historyReportFileText(QDate(2026, 6, 15)).toLatin1());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"REPORT.TXT"}));
    }

    // Both commands refuse only when the history on screen since the last successful
    // transfer holds no alert at all.
    void guards_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<bool>("refused");
        QTest::newRow("before any transfer") << 0 << true;
        QTest::newRow("no alert in the history") << 1 << true;
        QTest::newRow("group 21-40 shown, 7 alerts") << 2 << false;
        QTest::newRow("first alert without date") << 3 << false;
        QTest::newRow("only alert in entry 40") << 4 << false;
    }
    void guards()
    {
        QFETCH(int, situation);
        QFETCH(bool, refused);
        const QString pdf = outPath(QStringLiteral("report.pdf"));
        printTo(pdf);
        QList<QByteArray> records(40, emptyHistoryRecord());
        switch (situation) {
        case 0:
            loadDownloadBuffer(recordsOf(sampleSevenAlerts()));
            decodeHistory(); // a history in memory, but none shown
            break;
        case 1:
            presentDownload(records);
            break;
        case 2:
            presentDownload(recordsOf(sampleSevenAlerts()));
            main->mnuHistory[2]->trigger();
            QCOMPARE(main->historyGrid->lblDate[0]->text(), QString());
            break;
        case 3: {
            HistoryRecordFields f;
            f.hour = "x8"; // the hour decides the date: none
            records[0] = historyRecord(f);
            presentDownload(records);
            QCOMPARE(main->historyGrid->lblDate[0]->text(), QString());
            break;
        }
        case 4:
            records[39] = historyRecord(123, 18, 45, "WXR", "TOR");
            presentDownload(records);
            break;
        }
        const QString file = outPath(QStringLiteral("REPORT.TXT"));
        answerDialog(file);
        main->cmdMain[8]->click();
        main->mnuSaveAs->setEnabled(true); // the guard stands even if the item is reachable
        main->mnuSaveAs->trigger();
        QCOMPARE(shownBoxes(), refused ? kBothRefused : QStringList{kPrintQuestion});
        QCOMPARE(dialogs.isEmpty(), refused);
        QCOMPARE(QFile::exists(pdf), !refused);
        QCOMPARE(QFile::exists(file), !refused);
    }

    // After a transfer against the simulator the printed and the saved report agree with
    // the grid in both groups; after a failed transfer both commands refuse.
    void bothCommandsAfterATransfer()
    {
        QList<QByteArray> records = recordsOf(sampleSevenAlerts());
        while (records.size() < 40)
            records << emptyHistoryRecord();
        records[25] = historyRecord(140, 19, 30, "PEP", "EAN");
        transfer(records);
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));

        const QString pdf = outPath(QStringLiteral("report.pdf"));
        printTo(pdf);
        main->cmdMain[8]->click();
        const QString file = outPath(QStringLiteral("HISTORY.TXT"));
        answerDialog(file);
        main->mnuSaveAs->trigger();
        QCOMPARE(shownBoxes(), QStringList{kPrintQuestion});

        const QStringList printed = pdfText(pdf).split(u'\n');
        const QStringList saved = QString::fromLocal8Bit(fileBytes(file)).split(QStringLiteral("\r\n"));
        QCOMPARE(saved.size(), 48); // 47 lines and the empty rest after the last line end
        for (QAction *group : {main->mnuHistory[1], main->mnuHistory[2]}) {
            group->trigger();
            for (int r = 0; r < frmMain::kHistoryRows; ++r) {
                const int n = main->historyGrid->lblNum[r]->text().toInt();
                QStringList fields = {main->historyGrid->lblNum[r]->text()};
                const QString date = main->historyGrid->lblDate[r]->text();
                if (!date.isEmpty()) {
                    const int hyphen = date.indexOf(u'-');
                    fields << date.left(hyphen + 4) << main->historyGrid->lblTime[r]->text() << main->historyGrid->lblLength[r]->text()
                           << main->historyGrid->lblOrg[r]->text() << main->historyGrid->lblEvent[r]->text();
                }
                QVERIFY2(lineHasFields(entryLine(printed, n), fields), qPrintable(entryLine(printed, n)));
                QCOMPARE(saved[6 + n], main->historyGrid->lblNum[r]->text().rightJustified(2, u' ') + QStringLiteral(":   ") +
                                           QStringList({date, main->historyGrid->lblTime[r]->text(), main->historyGrid->lblLength[r]->text(),
                                                        main->historyGrid->lblEvent[r]->text()})
                                               .join(u'\t'));
            }
        }

        // A transfer that fails empties the grid: both commands refuse until the next success.
        receiver->setFault(ReceiverSimulator::Fault::BadDownloadChecksum);
        main->cmdMain[6]->click();
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Downloading Data"));
        doubles().messages.clear();
        main->cmdMain[8]->click();
        main->mnuSaveAs->trigger(); // disabled: nothing happens
        main->mnuSaveAs->setEnabled(true);
        main->mnuSaveAs->trigger();
        QCOMPARE(shownBoxes(), kBothRefused);

        receiver->setFault(ReceiverSimulator::Fault::None);
        transfer(records);
        QCOMPARE(main->statusPanelText(1), QStringLiteral("Upload / Download Successful"));
        doubles().messages.clear();
        main->cmdMain[8]->click();
        QCOMPARE(shownBoxes(), QStringList{kPrintQuestion});
    }
};

ORVANE_TEST(HistoryReportTest)
#include "HistoryReportTest.moc"
