// Alert history (src/history): the history grid and its views; uses core, config, link (decoded history).
#pragma once
// The alert history grid: a heading row and 20 rows of number, date, time, length,
// originator and event, one label each. The main window embeds it in its frame Frame1;
// HistoryView.h fills and clears it.

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
};
