// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// "Find County": the way in from the county. The owner types a county name, a location code
// or a transmitter's city; every county of the 54 state files that matches is listed with the
// transmitters that cover it, and "Use" takes a county and one of its transmitters in one
// step (the opener says how: the FIPS list window does what its state window would do by hand).
// Keyboard first: typing goes to the search box, the arrows move through the matches, Enter
// uses the one chosen, Escape closes.

#include "selection/CountySearch.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmFindCounty : public QDialog
{
    Q_OBJECT
public:
    // Takes the choice; true when it was taken, and the window closes.
    using UseChoice = std::function<bool(const IndexedCounty &, const IndexedTransmitter &)>;
    explicit frmFindCounty(UseChoice use, QWidget *parent = nullptr);

    QLabel *lblSearch = nullptr, *lblCount = nullptr, *lblMatches = nullptr, *lblChoice = nullptr;
    QLineEdit *txtSearch = nullptr;
    QTreeWidget *lstMatches = nullptr; // a county, and below it each transmitter that covers it
    QPushButton *cmdUse = nullptr, *cmdClose = nullptr;

    // The matches for what the search box holds.
    void txtSearch_Change();
    // Takes the row chosen: a transmitter, or a county's first transmitter. Nothing chosen
    // beeps; a county that no transmitter covers beeps and says so.
    void cmdUse_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The county and transmitter of a row: -1 for the transmitter when the county has none.
    struct Choice {
        int match = -1, transmitter = -1;
    };
    Choice choiceOf(const QTreeWidgetItem *item) const;
    void showChoice();

    UseChoice use;
    CountySearchResult found;
};

inline const QString kNoCoverageMessage = QStringLiteral("No NOAA Weather Radio transmitter covers this county");
