// Alert history (src/history): the history grid and its views; uses core, config, link (decoded history).
#pragma once
// The alert history grid: a heading row and 20 rows of number, date, time, length,
// originator and event, one label each. The main window embeds it in its frame Frame1;
// HistoryView.h fills and clears it.
// The grid is one stop for the keyboard: the arrow keys, Home / End and PgUp / PgDn move its
// current row (framed while the grid has the focus), and a screen reader hears the row's
// cells as the grid's description.

#include <QWidget>
#include <array>

class QLabel;

class HistoryGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHistoryRows = 20;

    explicit HistoryGrid(QWidget *parent = nullptr);

    std::array<QLabel *, kHistoryRows> lblNum{}, lblDate{}, lblTime{}, lblLength{}, lblOrg{}, lblEvent{};
    std::array<QLabel *, 6> lblHeading{};

    int currentRow() const { return row; }
    void setCurrentRow(int row);
    // Tells a screen reader what the current row shows now; the views call it after they
    // change the cells.
    void rowsChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString rowText(int r) const;
    int row = 0;
};
