#include "history/HistoryPrinting.h"

#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "history/HistoryReport.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {

// The next stop of a grid of `step` after x (a position on a stop moves to the next one).
qreal nextStop(qreal x, qreal step)
{
    return (std::floor(x / step + 1e-6) + 1) * step;
}

// Bytes the receiver left unset are 0: paper shows them as blanks.
QString printable(QString text)
{
    for (QChar &c : text)
        if (c < u' ')
            c = u' ';
    return text;
}

bool printLines(QPainter &painter, QPrinter &printer, const QList<PrintLine> &lines)
{
    QFont plain(QStringLiteral("Arial"));
    plain.setStyleHint(QFont::SansSerif);
    plain.setPointSizeF(10);
    QFont heading = plain;
    heading.setBold(true);

    const QFontMetricsF plainMetrics(plain, &printer);
    const qreal column = std::max<qreal>(plainMetrics.averageCharWidth(), 1); // never a zero step
    const qreal lineHeight = plainMetrics.lineSpacing();
    const qreal pageHeight = printer.height();

    qreal y = 0;
    for (const PrintLine &line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            if (!printer.newPage())
                return false;
            y = 0;
        }
        const QFont &font = line.emphasised ? heading : plain;
        const QFontMetricsF metrics(font, &printer);
        painter.setFont(font);
        qreal x = 0;
        for (const PrintItem &item : line.items) {
            switch (item.kind) {
            case PrintItem::Kind::Tab:
                x = nextStop(x, column * kPrintTabColumns);
                break;
            case PrintItem::Kind::Zone:
                x = nextStop(x, column * kPrintZoneColumns);
                break;
            case PrintItem::Kind::Text: {
                const QString text = printable(item.text);
                painter.drawText(QPointF(x, y + plainMetrics.ascent()), text);
                x += metrics.horizontalAdvance(text);
                break;
            }
            }
        }
        y += lineHeight;
    }
    return true;
}

} // namespace

bool printHistoryReport()
{
    const std::unique_ptr<QPrinter> printer = Platform::defaultPrinter();
    if (!printer) {
        showProgramMessage(reportNoPrinterText());
        return false;
    }
    printer->setDocName(QStringLiteral("Orvane History Report"));
    QPainter painter;
    if (!painter.begin(printer.get())) {
        showProgramMessage(reportPrintFailedText());
        return false;
    }
    const bool printed = printLines(painter, *printer, historyReportPrintLines(Platform::now().date()));
    // Ending the job releases the pages to the printer.
    if (!painter.end() || !printed) {
        showProgramMessage(reportPrintFailedText());
        return false;
    }
    return true;
}
