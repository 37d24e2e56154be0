#include "history/HistoryGrid.h"

#include <QAccessible>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

void nameArray(const std::array<QLabel *, HistoryGrid::kHistoryRows> &labels, const QString &name)
{
    for (int i = 0; i < HistoryGrid::kHistoryRows; ++i)
        labels[i]->setObjectName(name + u'_' + QString::number(i));
}

} // namespace

HistoryGrid::HistoryGrid(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HistoryGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Alert History"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(2);

    const std::array<const char *, 6> headings = {"Num", "Date", "Time", "Length", "ORG", "Event Code Received"};
    const std::array<const char *, 6> headingNames = {"lblNumHead", "lblDateHead", "lblTimeHead",
                                                      "lblLengthHead", "lblOrgHead", "lblEventHead"};
    for (int c = 0; c < 6; ++c) {
        auto *heading = new QLabel(QString::fromLatin1(headings[c]), this);
        heading->setObjectName(QString::fromLatin1(headingNames[c]));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        lblHeading[c] = heading;
        grid->addWidget(heading, 0, c);
    }
    auto makeColumn = [this, grid](std::array<QLabel *, kHistoryRows> &labels, int column, Qt::Alignment align) {
        for (int r = 0; r < kHistoryRows; ++r) {
            auto *label = new QLabel(this);
            label->setAlignment(align | Qt::AlignVCenter);
            label->setMinimumHeight(label->fontMetrics().height() + 2);
            labels[r] = label;
            grid->addWidget(label, r + 1, column);
        }
    };
    makeColumn(lblNum, 0, Qt::AlignRight);
    makeColumn(lblDate, 1, Qt::AlignLeft);
    makeColumn(lblTime, 2, Qt::AlignLeft);
    makeColumn(lblLength, 3, Qt::AlignLeft);
    makeColumn(lblOrg, 4, Qt::AlignLeft);
    makeColumn(lblEvent, 5, Qt::AlignLeft);
    for (QLabel *label : lblEvent)
        label->setAutoFillBackground(true);
    // Room for the widest texts from the start, so the window does not jump when a
    // history arrives.
    const QFontMetrics metrics(font());
    lblDate[0]->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("30-September")));
    lblEvent[0]->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Severe Thunderstorm Warning  ")));
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(kHistoryRows + 1, 1);

    nameArray(lblNum, QStringLiteral("lblNum"));
    nameArray(lblDate, QStringLiteral("lblDate"));
    nameArray(lblTime, QStringLiteral("lblTime"));
    nameArray(lblLength, QStringLiteral("lblLength"));
    nameArray(lblOrg, QStringLiteral("lblOrg"));
    nameArray(lblEvent, QStringLiteral("lblEvent"));
    rowsChanged();
}

QString HistoryGrid::rowText(int r) const
{
    QStringList cells;
    for (const auto *column : {&lblNum, &lblDate, &lblTime, &lblLength, &lblOrg, &lblEvent}) {
        const QString text = (*column)[r]->text().trimmed();
        if (!text.isEmpty())
            cells << text;
    }
    return cells.join(QStringLiteral("  "));
}

void HistoryGrid::setCurrentRow(int r)
{
    r = qBound(0, r, kHistoryRows - 1);
    if (r == row)
        return;
    row = r;
    update();
    rowsChanged();
}

void HistoryGrid::rowsChanged()
{
    const QString text = rowText(row);
    if (text == accessibleDescription())
        return;
    setAccessibleDescription(text);
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void HistoryGrid::keyPressEvent(QKeyEvent *event)
{
    // The grid shows every row of its group at once: a page is the whole grid.
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentRow(row - 1);
        break;
    case Qt::Key_Down:
        setCurrentRow(row + 1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        setCurrentRow(0);
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        setCurrentRow(kHistoryRows - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void HistoryGrid::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!hasFocus())
        return;
    // The frame lies in the spacing around the row, so the cells' own backgrounds leave it seen.
    QRect area = lblNum[row]->geometry().united(lblEvent[row]->geometry());
    area.setLeft(0);
    area.setRight(width() - 1);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = area.adjusted(0, -1, 0, 1);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void HistoryGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void HistoryGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
