// The alert history: the grid after transfers from the receiver simulator; the report as data,
// printed into a PDF and on a private CUPS queue (read back with pdftotext), and saved.
#include "support/HistoryRecords.h"
#include "support/Processes.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"
#include "config/ConfigTestSupport.h"
#include "link/LinkTestSupport.h"

#include "config/DaylightState.h"
#include "history/HistoryGrid.h"
#include "history/HistoryReport.h"
#include "history/HistoryView.h"
#include "link/HistoryDecoding.h"
#include "selection/EventTable.h"

#include <QPrinter>
#include <QtWidgets>

namespace {

const QString kPrintQuestion = box("Proceed To Dispatch History Report To Printer", QMessageBox::Question,
                                   QMessageBox::Ok | QMessageBox::Cancel, "Print Orvane Event History");
const QStringList kBothRefused = {box("Error #301:  No History Data to Print. "), box("Error #303:  No History Data to Save. ")};
const QString kBadExtension = box("Error, Filename must contain the extension .TXT.", QMessageBox::Critical, QMessageBox::Ok, "File Save Error");
const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kBlue(0, 0, 255);

// A printer that writes a PDF file: the same QPrinter and QPainter path as a real printer.
std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
}
// pdftotext's reading of a PDF: "-layout" the text as on the page, "-bbox" each word's box.
QString pdfText(const QString &path, const char *mode = "-layout") { return QString::fromUtf8(runProgram("pdftotext", {mode, path, "-"}, 60000).output); }

// The entries of the printed-report cases and the line each prints as (2026 is no leap year).
struct PrintCase { int slot; HistoryRecordFields record; const char *line; };
const QList<PrintCase> kPrintCases = {
    {0, {.day = "366", .org = "WXR"}, "1-Jan\t\t13:45\t01:30\tWXR\tTornado Warning"}, // 1 January 2027
    {1, {.day = "000"}, " "},
    {2, {.day = "100", .hour = "14", .minute = "05", .org = "WXR", .event = "RWT"}, "10-Apr\t\t09:05\t01:30\tWXR\tRequired Weekly Test"},
    {3, {.day = "150", .org = "EAS", .event = "XYZ"}, "30-May\t\t13:45\t01:30\tEAS\tUnknown Event Code"},
    {4, {.day = "064", .event = "SVA"}, "5-Mar\t\t13:45\t01:30\tCIV\tSevere Thunderstorm Watch"},
    {5, {.day = "001", .hour = "03"}, "31-Dec\t\t22:45\t01:30\tCIV\tTornado Warning"}, // the local day before
    {6, {.day = "367"}, " "}, {7, {.day = "999"}, " "}, {8, {.day = ""}, " "},
    {9, {.day = "123", .hour = "15"}, "3-May\t\t10:45\t01:30\tCIV\tTornado Warning"},
    {10, {.hour = "x8"}, "\t\t:45\t01:30\tCIV\tTornado Warning"}, // a time that is not H:MM prints as it stands
    {11, {.day = "1?3"}, "\t\t13:45\t01:30\tCIV\tTornado Warning"},
    {39, {.day = "200", .org = "9AB"}, "19-Jul\t\t13:45\t01:30\t9AB\tTornado Warning"}, // the originator as it stands
};
QList<QByteArray> printCaseRecords()
{
    QList<QByteArray> records(40, emptyHistoryRecord());
    for (const PrintCase &c : kPrintCases) records[c.slot] = historyRecord(c.record);
    return records;
}
// The printed line of entry n (from 1) as text: tabs as "\t", zone steps as "|".
QString printedEntry(int n)
{
    const auto c = std::find_if(kPrintCases.begin(), kPrintCases.end(), [n](const PrintCase &c) { return c.slot == n - 1; });
    return QStringLiteral("\t %1|\t").arg(n) + (c == kPrintCases.end() ? " " : c->line);
}

// The words of a page as pdftotext -bbox gives them, in points from the top left.
struct Word { QString text; double left, top, right; };
QList<Word> words(const QString &boxes)
{
    static const QRegularExpression re(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
    QList<Word> list;
    for (const QRegularExpressionMatch &m : re.globalMatch(boxes)) list << Word{m.captured(4), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble()};
    return list;
}
Word find(const QList<Word> &list, const QString &text) { for (const Word &w : list) if (w.text == text) return w; return {}; }

// A CUPS scheduler of the test's own on a socket in a temporary folder: one queue, the default,
// whose PPD chooses the default page, and a back end that copies each job to a file.
struct PrintQueue {
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
    QTemporaryDir dir;
    QProcess scheduler;
    QString failure; // what went wrong, for the test's message
    ~PrintQueue() { scheduler.kill(), scheduler.waitForFinished(5000); }

    void write(const char *name, QString text) { writeFileBytes(dir.filePath(name), text.replace("%D", dir.path()).toUtf8()); }
    bool waitFor(const char *file, int ms, const char *what)
    {
        for (QDeadlineTimer deadline(ms); !QFileInfo::exists(dir.filePath(file));)
            if (scheduler.state() == QProcess::NotRunning || scheduler.waitForFinished(50) || deadline.hasExpired()) {
                failure = what + QString::fromLocal8Bit(scheduler.readAll() + '\n' + fileBytes(dir.filePath("log/error_log")).right(3000));
                return false;
            }
        return true;
    }
    bool print(const QString &page, bool landscape) // starts the queue, prints on it: whether the job came
    {
        for (const char *sub : {"root/ppd", "bin/backend", "spool", "cache", "state", "log", "out"}) QDir(dir.path()).mkpath(sub);
        QFile::link(QFileInfo(cupsd).dir().filePath("../lib/cups/daemon"), dir.filePath("bin/daemon")); // runs the back ends
        write("root/cupsd.conf", "Listen %D/cups.sock\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n<Location />\n"
                                 "Order allow,deny\nAllow all\n</Location>\n<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n");
        write("root/cups-files.conf", "ServerRoot %D/root\nServerBin %D/bin\nRequestRoot %D/spool\nTempDir %D/spool\nCacheDir %D/cache\n"
                                      "StateDir %D/state\nErrorLog %D/log/error_log\nAccessLog %D/log/access_log\nPageLog %D/log/page_log\n");
        write("bin/backend/copy", "#!/bin/sh\n[ $# -eq 0 ] && { echo 'file copy \"Copy\" \"Copies the job to a file\"'; exit 0; }\n"
                                  "out=${DEVICE_URI#copy:}\nif [ -n \"$6\" ]; then cat \"$6\"; else cat; fi >\"$out.part\" && mv \"$out.part\" \"$out\"\n");
        QFile::setPermissions(dir.filePath("bin/backend/copy"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write("root/printers.conf", "<DefaultPrinter test>\nInfo Test\nDeviceURI copy:%D/out/job.pdf\nState Idle\nAccepting Yes\nShared No\n" +
                                        QString(landscape ? "Option orientation-requested 4\n" : "") + "</DefaultPrinter>\n");
        // The job's PDF goes to the back end as it stands; the pages' margins differ.
        QString ppd = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                      "*PCFileName: \"TEST.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n*ModelName: \"Test\"\n*ShortNickName: \"Test\"\n*NickName: \"Test\"\n"
                      "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n"
                      "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n*cupsFilter: \"application/pdf 0 -\"\n";
        const QList<QStringList> sizes = {{"A4", "595", "842", "18 24 577 818"}, {"A6", "298", "420", "12 30 286 402"},
                                          {"Letter", "612", "792", "30 30 582 762"}};
        for (const QString option : {"PageSize", "PageRegion"}) {
            ppd += QString("*OpenUI *%1: PickOne\n*OrderDependency: 10 AnySetup *%1\n*Default%1: %2\n").arg(option, page);
            for (const QStringList &s : sizes) ppd += QString("*%1 %2: \"<</PageSize[%3 %4]>>setpagedevice\"\n").arg(option, s[0], s[1], s[2]);
            ppd += "*CloseUI: *" + option + "\n";
        }
        ppd += QString("*DefaultImageableArea: %1\n*DefaultPaperDimension: %1\n").arg(page);
        for (const QStringList &s : sizes) ppd += QString("*ImageableArea %1: \"%2\"\n*PaperDimension %1: \"%3 %4\"\n").arg(s[0], s[3], s[1], s[2]);
        write("root/ppd/test.ppd", ppd);
        scheduler.setProcessChannelMode(QProcess::MergedChannels), scheduler.start(cupsd, {"-f", "-c", dir.filePath("root/cupsd.conf"), "-s", dir.filePath("root/cups-files.conf")});
        if (!waitFor("cups.sock", 20000, "cupsd did not start: ")) return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CUPS_SERVER", dir.filePath("cups.sock")), env.insert("HOME", dir.filePath("state")); // no user's own default printer
        env.remove("PRINTER"), env.remove("LPDEST");
        const ProgramRun run = runProgram(ORVANE_PRINT_CHILD_BINARY, {}, 60000, env);
        failure = "not printed: " + QString::fromLocal8Bit(run.output);
        return run.succeeded() && waitFor("out/job.pdf", 30000, "no job arrived: ");
    }
};

} // namespace

class HistoryReportTest : public QObject, LinkFixture
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> out;
    QList<Platform::SaveDialogRequest> dialogs;
    QStringList dialogAnswers; // the names the save dialog answers, one a request; then none

    QString outPath(const QString &name) const { return out->filePath(name); }
    HistoryGrid &grid() const { return *main->historyGrid; }
    void printTo(const QString &path) { Platform::setPrinterProvider([path] { return pdfPrinter(path); }); }

    // What a successful transfer does once the download is in DownloadBuffer.
    void presentDownload(const QList<QByteArray> &records)
    {
        loadDownloadBuffer(records), main->mnuHistory[1]->setChecked(true), main->mnuHistory[2]->setChecked(false);
        decodeHistory(), showHistoryGroup(grid(), 0), HistoryOnScreen = true;
        main->mnuView->menuAction()->setEnabled(true), main->mnuSaveAs->setEnabled(true);
    }
    // A whole transfer from the receiver on port 1, holding `records`: whether it succeeded.
    bool transfer(const QList<QByteArray> &records)
    {
        receiver->setHistoryRecords(historyArea(records)), main->cmdMain[6]->click();
        return main->statusPanelText(1) == QStringLiteral("Upload / Download Successful");
    }
    // The grid shows `rows` (one without event: empty, black) numbered from `first`, its group checked.
    void checkGrid(const QList<SampleHistoryRow> &rows, int first)
    {
        QVERIFY(main->mnuHistory[1]->isChecked() == (first == 1) && main->mnuHistory[2]->isChecked() == (first == 21));
        const HistoryGrid &g = grid();
        for (int r = 0; r < frmMain::kHistoryRows; ++r) {
            const SampleHistoryRow row = rows.value(r);
            const QString shown = QStringList({g.lblDate[r]->text(), g.lblTime[r]->text(), g.lblLength[r]->text(), g.lblOrg[r]->text(), g.lblEvent[r]->text()}).join(u'|');
            QCOMPARE(g.lblNum[r]->text() + u' ' + shown, QString::number(first + r) + u' ' + QStringList({row.date, row.time, row.length, row.org, row.event}).join(u'|'));
            QCOMPARE(g.lblEvent[r]->palette().color(QPalette::WindowText), row.alertClass == 1 ? kRed : row.alertClass == 2 ? kBlue : kBlack);
            QCOMPARE(g.lblDate[r]->palette().color(QPalette::WindowText), g.lblNum[r]->palette().color(QPalette::WindowText)); // only the event is coloured
        }
    }

    struct QueueRow { const char *name, *page; bool landscape, fitted; double width, height, top, bottom, left; }; // left and right margins alike
    // history: 0 not shown, 1 none, 2 seven alerts (21-40 shown), 3 only an undated one, 4 that in entry 40; printer: 0 none, 1 PDF, 2 bad PDF
    struct CommandRow { const char *name; int history, printer; bool printOk; const char *saveAs; QStringList boxes; };

private slots:
    void init()
    {
        initEventTable(), freshLink();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        doubles().wallClock = QDateTime(QDate(2026, 6, 15), QTime(10, 0));
        ReceiverConfig.EDITOR.TimeZoneOffset = -5, ReceiverConfig.EDITOR.DaylightSavings = PcDaylightActive = HistoryOnScreen = false;
        HistoryTable.fill(HistoryEntry());
        out = std::make_unique<QTemporaryDir>(), dialogs.clear(), dialogAnswers.clear();
        Platform::setSaveDialog([this](const auto &request) { return dialogs << request, dialogAnswers.isEmpty() ? QString() : dialogAnswers.takeFirst(); });
        Platform::setPrinterProvider([] { return std::unique_ptr<QPrinter>(); }), showMain();
    }
    void cleanup()
    {
        stopLink(), Platform::setSaveDialog({}), Platform::setPrinterProvider({});
        QLocale::setDefault(QLocale::system()), HistoryOnScreen = false;
    }

    // Group 2: an unknown code, a watch, an alert whose day could not be read (no date, but its row).
    void transfersShowAndPrint()
    {
        QVERIFY(startReceiver(1) && !main->mnuView->menuAction()->isEnabled());
        ReceiverConfig.EDITOR.SerialPort = 1;
        const QList<SampleHistoryRow> first = sampleSevenAlerts(), second = {{},
            {historyRecord(124, 18, 45, "WXR", "XYZ"), "4-May", "13:45", "01:30", "WXR", "Unknown Event Code", 0},
            {historyRecord(140, 19, 30, "PEP", "TOA"), "20-May", "14:30", "01:30", "PEP", "Tornado Watch", 2},
            {historyRecord({.day = "1?3"}), "", "13:45", "01:30", "CIV", "Tornado Warning", 1}};
        QList<QByteArray> records = recordsOf(first) + QList<QByteArray>(13, emptyHistoryRecord()) + recordsOf(second);
        QVERIFY(transfer(records) && main->mnuView->menuAction()->isEnabled() && main->mnuSaveAs->isEnabled());
        checkGrid(first, 1);
        main->mnuHistory[2]->trigger();
        main->mnuHistory[2]->trigger(); // the shown group again keeps its mark (a checkable item would toggle off)
        checkGrid(second, 21);
        printTo(outPath("report.pdf")), main->cmdMain[8]->click();
        QCOMPARE(shownBoxes(), QStringList{kPrintQuestion}); // a history on screen to print
        main->mnuHistory[1]->trigger();
        checkGrid(first, 1);

        // A failed transfer clears grid and menus (not the numbers, nor HistoryTable); both commands refuse.
        main->mnuHistory[2]->trigger();
        receiver->setFault(ReceiverSimulator::Fault::BadDownloadChecksum);
        QVERIFY(!transfer(records) && main->statusPanelText(1) == "Downloading Data");
        QVERIFY(!main->mnuView->menuAction()->isEnabled() && !main->mnuSaveAs->isEnabled());
        for (const HistoryGrid &g = grid(); const int r : {0, 1, 2, 3, 19})
            QCOMPARE(g.lblNum[r]->text() + g.lblDate[r]->text() + g.lblTime[r]->text() + g.lblLength[r]->text() + g.lblOrg[r]->text() +
                         g.lblEvent[r]->text() + g.lblEvent[r]->palette().color(QPalette::Window).name(), QString::number(r + 21) + "#ffffff");
        QCOMPARE(HistoryTable[0].Event, QStringLiteral("Tornado Warning"));
        checkPortClosed();
        doubles().messages.clear(), main->cmdMain[8]->click();
        main->mnuSaveAs->trigger(); // disabled: nothing happens
        main->mnuSaveAs->setEnabled(true), main->mnuSaveAs->trigger();
        QCOMPARE(shownBoxes(), kBothRefused);
    }

    // The page as data (title on line 6, heading emphasised, 54 lines), and on paper (one page).
    void printedPage()
    {
        presentDownload(printCaseRecords());
        QStringList texts, expected = {"", "|", "|", "|", "|", "\t|\t|Orvane Digital Weather Receiver History Report", "", "",
                                       "\tPrint date: Monday, June 15, 2026", "", "", "\tNum\tEvent Date\tTime\tLength\tORG\tEvent Code Received", "", ""};
        for (int n = 1; n <= 40; ++n) expected << printedEntry(n);
        for (const PrintLine &line : historyReportPrintLines(QDate(2026, 6, 15))) {
            texts << QString();
            for (const PrintItem &item : line.items)
                texts.last() += item.kind == PrintItem::Kind::Tab ? QStringLiteral("\t") : item.kind == PrintItem::Kind::Zone ? QStringLiteral("|") : item.text;
            QCOMPARE(line.emphasised, texts.size() == 12);
        }
        QCOMPARE(texts, expected);

        printTo(outPath("report.pdf")), main->cmdMain[8]->click();
        QCOMPARE(shownBoxes(), QStringList{kPrintQuestion});
        const QString text = pdfText(outPath("report.pdf"));
        QVERIFY2(text.count(u'\f') == 1 && text.contains(QRegularExpression("\n\\s*3\\s+10-Apr\\s+09:05\\s+01:30\\s+WXR\\s+Required Weekly Test\\s*\n")),
                 qPrintable(text));
    }

    // On a default queue whose default page is not A4: the job's page size, orientation, margins;
    // a page too small for 54 lines breaks where the next would not fit; a page too narrow for the
    // widest line has the whole report made smaller, every column on the page.
    void printedOnTheDefaultQueue_data()
    {
        addRows<QueueRow>({{"A6", "A6", false, true, 297.6, 419.5, 18, 30, 12}, {"US Letter, landscape", "Letter", true, false, 792, 612, 30, 30, 30}});
    }
    void printedOnTheDefaultQueue()
    {
        QFETCH(QueueRow, row);
        PrintQueue queue;
        if (queue.cupsd.isEmpty()) QSKIP("cupsd is not installed (Debian package cups-daemon): no print queue to print on");
        QVERIFY2(queue.print(row.page, row.landscape), qPrintable(queue.failure));
        const QString job = queue.dir.filePath("out/job.pdf"), boxes = pdfText(job, "-bbox");
        const QStringList pages = boxes.split("<page ", Qt::SkipEmptyParts).mid(1);
        // The report's type, Arial 10 pt: line height and column in points.
        auto printer = pdfPrinter(outPath("metrics.pdf"));
        QFont arial(QStringLiteral("Arial"));
        arial.setPointSizeF(10);
        const QFontMetricsF metrics(arial, printer.get());
        const double unscaledLine = metrics.lineSpacing() * 72 / printer->resolution();
        QVERIFY(pages.size() >= 2 && unscaledLine > 10 && unscaledLine < 14);
        // How much smaller the page has it, from the three lines between the title and the date.
        const QList<Word> top = words(pages[0]);
        const Word title = find(top, "Orvane"), date = find(top, "Print"), num = find(top, "Num"), dateColumn = find(top, "Event");
        const double scale = (date.top - title.top) / (3 * unscaledLine);
        QVERIFY2(row.fitted ? scale > 0.3 && scale < 0.95 : qAbs(scale - 1) < 0.01, qPrintable(QString::number(scale)));
        const double line = unscaledLine * scale, column = metrics.averageCharWidth() * 72 / printer->resolution() * scale;
        // The title on the sixth line at the second print zone (column 28); the date and the
        // heading three and six lines below it, at the first tab; entry numbers before "Event Date".
        QVERIFY2(qAbs(title.top - row.top - 5 * line) < 1.5 && qAbs(title.left - row.left - 28 * column) < 1.5,
                 qPrintable(QString("title at %1, %2").arg(title.left).arg(title.top)));
        QVERIFY(qAbs(num.top - title.top - 6 * line) < 1);
        QVERIFY(qAbs(date.left - row.left - 8 * column) < 1.5 && dateColumn.left > num.left);
        const QString fonts = QString::fromLatin1(runProgram("pdffonts", {job}, 60000).output);
        QVERIFY2(fonts.contains(QRegularExpression("(LiberationSans|Arial)-Bold")) &&
                     fonts.contains(QRegularExpression("(LiberationSans|Arial)(MT)?(-Regular)?\\s")), qPrintable(fonts)); // Arial or its nearest match, bold for the heading
        QList<int> entries, all(40);
        int tornadoes = 0; // the entries' event printed
        for (int p = 0; p < pages.size(); ++p) {
            const auto size = QRegularExpression("^width=\"([0-9.]+)\" height=\"([0-9.]+)\"").match(pages[p]);
            QVERIFY2(qAbs(size.captured(1).toDouble() - row.width) < 1 && qAbs(size.captured(2).toDouble() - row.height) < 1, qPrintable(pages[p].left(40)));
            QList<double> tops; // of the entry numbers
            for (const Word &w : words(pages[p])) {
                tornadoes += w.text == "Tornado";
                QVERIFY2(w.right < row.width - row.left + 0.5, qPrintable(QString("%1 ends at %2").arg(w.text).arg(w.right)));
                if (w.text.toInt() > 0 && w.left < dateColumn.left) entries << w.text.toInt(), tops << w.top;
            }
            QVERIFY(!tops.isEmpty());
            const double bottom = row.height - row.bottom;
            if (p + 1 < pages.size()) // a page that goes on holds as many lines as fit
                QVERIFY2(tops.last() + line < bottom + 0.5 && tops.last() + 2 * line > bottom - 0.5, qPrintable(QString::number(tops.last())));
            if (p > 0) // the next page starts at the top margin
                QVERIFY2(qAbs(tops.first() - row.top) < 1, qPrintable(QString::number(tops.first())));
        }
        std::iota(all.begin(), all.end(), 1);
        QCOMPARE(entries, all);
        QCOMPARE(tornadoes, 40);
    }

    // Both commands refuse only with no alert on screen; printing asks first, saving takes only names ending in ".TXT".
    void commands_data()
    {
        const QString noPrinter = box("Error #305:  No Printer Found. History Report Not Printed. ");
        const QString refused = box("Error #302:  Print Spooling Error. History Report Not Printed. ");
        addRows<CommandRow>({
            {"before any transfer", 0, 1, true, "REPORT.TXT", kBothRefused}, {"no alert", 1, 1, true, "REPORT.TXT", kBothRefused},
            {"group 21-40 shown", 2, 1, true, "REPORT.TXT", {kPrintQuestion}},
            {"only alert without date", 3, 1, true, "report.TXT", {kPrintQuestion}}, {"only alert in entry 40", 4, 1, true, "REPORT.TXT", {kPrintQuestion}},
            {"no printer, lower case", 2, 0, true, "report.txt", {kPrintQuestion, noPrinter, kBadExtension}},
            {"job refused, mixed case", 2, 2, true, "report.Txt", {kPrintQuestion, refused, kBadExtension}},
            {"no extension", 2, 1, true, "report", {kPrintQuestion, kBadExtension}}, {"other extension", 2, 1, true, "report.DAT", {kPrintQuestion, kBadExtension}},
            {"TXT without dot", 2, 1, true, "reportTXT", {kPrintQuestion, kBadExtension}}, {"print and save cancelled", 2, 1, false, "", {kPrintQuestion}},
        });
    }
    void commands()
    {
        QFETCH(CommandRow, row);
        QList<QByteArray> records = row.history <= 2 ? recordsOf(sampleSevenAlerts()) : QList<QByteArray>(40, emptyHistoryRecord());
        if (row.history >= 3) records[row.history == 3 ? 0 : 39] = historyRecord({.hour = "x8"}); // the hour decides the date: none
        presentDownload(row.history == 1 ? QList<QByteArray>() : records);
        if (row.history == 0) HistoryOnScreen = false; // a history decoded, but not from a successful transfer
        if (row.history == 2) main->mnuHistory[2]->trigger();
        const QString pdf = outPath("report.pdf"), file = outPath(row.saveAs);
        if (row.printer) printTo(row.printer == 1 ? pdf : outPath("no-such-folder/report.pdf"));
        if (!row.printOk) doubles().answerNext(QMessageBox::Cancel);
        dialogAnswers << (*row.saveAs ? file : QString());
        main->cmdMain[8]->click();
        main->mnuSaveAs->setEnabled(true); // the guard stands even if the item is reachable
        main->mnuSaveAs->trigger();
        QCOMPARE(shownBoxes(), row.boxes);
        QCOMPARE((QList<int>{int(dialogs.size()), QFile::exists(pdf), QFile::exists(file) && *row.saveAs}), // the dialog never reopened
                 (QList<int>{row.history > 1, row.history > 1 && row.printer == 1 && row.printOk, row.history > 1 && file.endsWith(".TXT")}));
    }

    // The file byte for byte, replaced whole; a failed write (full disk, missing folder) leaves the old one and says why.
    void savedFile()
    {
        presentDownload({historyRecord(123, 18, 45, "WXR", "TOR"), historyRecord(64, 14, 5, "CIV", "XYZ")});
        const QString path = outPath("REPORT.TXT"), gone = outPath("gone/REPORT.TXT");
        dialogAnswers << path << path << path << gone;
        main->mnuSaveAs->trigger();
        QVERIFY(doubles().messages.isEmpty());
        QByteArray expected = "\r\nOrvane Weather Receiver with SAME\r\nFile Save Date: 6/15/26\r\n\r\n\r\nNum   Date\tTime\tLength\tEvent\r\n\r\n"
                              " 1:   3-May\t13:45\t01:30\tTornado Warning\r\n 2:   5-March\t09:05\t01:30\tUnknown Event Code\r\n";
        for (int n = 3; n <= 40; ++n) expected += QByteArray::number(n).rightJustified(2, ' ') + ":   \t\t\t\r\n";
        QCOMPARE(fileBytes(path), expected);
        const Platform::SaveDialogRequest &asked = dialogs.value(0);
        QVERIFY(asked.title == "Save History Report As" && asked.nameFilter == "Orvane File(s) *.TXT) (*.TXT)" && asked.fileName.isEmpty() &&
                asked.directory == QDir::currentPath() && asked.confirmOverwrite && asked.parent == main.get());
        presentDownload({historyRecord(123, 18, 45, "WXR", "TOR")}), main->mnuSaveAs->trigger();
        expected.replace(expected.indexOf(" 2:"), 46, " 2:   \t\t\t\r\n");
        QCOMPARE(fileBytes(path), expected);
        withFileSizeLimit(300, [this] { return main->mnuSaveAs->trigger(), true; });
        main->mnuSaveAs->trigger();
        QCOMPARE(fileBytes(path), expected);
        QCOMPARE(QDir(out->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"REPORT.TXT"}));
        QCOMPARE(shownBoxes(), QStringList({box("Error #304:  History Report Not Saved. \r\n" + path + "\r\nFile too large"),
                                            box("Error #304:  History Report Not Saved. \r\n" + gone + "\r\nNo such file or directory")}));
    }
};

ORVANE_TEST(HistoryReportTest)
#include "HistoryReportTest.moc"
