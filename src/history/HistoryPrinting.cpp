#include "history/HistoryPrinting.h"

#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "history/HistoryReport.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTransform>
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

// Lays one line out from the left edge: draw(x, text) for each piece of text; returns where
// its last text ends (stops after it take no room).
template <typename Draw>
qreal layOutLine(const PrintLine &line, qreal column, const QFontMetricsF &metrics, Draw draw)
{
    qreal x = 0, end = 0;
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
            draw(x, text);
            end = x += metrics.horizontalAdvance(text);
            break;
        }
        }
    }
    return end;
}

bool printLines(QPainter &painter, QPrinter &printer, const QList<PrintLine> &lines)
{
    QFont plain(QStringLiteral("Arial"));
    plain.setStyleHint(QFont::SansSerif);
    plain.setPointSizeF(10);
    QFont heading = plain;
    heading.setBold(true);

    const QFontMetricsF plainMetrics(plain, &printer), headingMetrics(heading, &printer);
    const qreal column = std::max<qreal>(plainMetrics.averageCharWidth(), 1); // never a zero step
    const qreal lineHeight = plainMetrics.lineSpacing();

    // A page narrower than the widest line (A6, say) gets the whole report made smaller to fit,
    // rather than the columns on the right cut off; a page wide enough prints it as it is.
    qreal widest = 0;
    for (const PrintLine &line : lines)
        widest = std::max(widest, layOutLine(line, column, line.emphasised ? headingMetrics : plainMetrics,
                                             [](qreal, const QString &) {}));
    const qreal scale = widest > printer.width() ? printer.width() / widest : 1;
    const QTransform fit = QTransform::fromScale(scale, scale);
    const qreal pageHeight = printer.height() / scale;
    painter.setTransform(fit);

    qreal y = 0;
    for (const PrintLine &line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            if (!printer.newPage())
                return false;
            painter.setTransform(fit); // whatever the engine does with it on a new page
            y = 0;
        }
        painter.setFont(line.emphasised ? heading : plain);
        layOutLine(line, column, line.emphasised ? headingMetrics : plainMetrics, [&](qreal x, const QString &text) {
            painter.drawText(QPointF(x, y + plainMetrics.ascent()), text);
        });
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
