// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// "Orvane FIPS Codes": the county list with a tick per line. Created at start-up and only
// shown and hidden, so its list is the working copy of the county selection for the run;
// FipsList is rebuilt from it whenever the window is left.

#include <QDialog>

struct IndexedCounty;
struct IndexedTransmitter;

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

class frmFIPS : public QDialog
{
    Q_OBJECT
public:
    // The one window of the run, created on first use.
    static frmFIPS *instance();

    QListWidget *lstFips = nullptr;
    QLabel *lblFipsHead = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdAdd = nullptr, *cmdEdit = nullptr, *cmdCopy = nullptr, *cmdRemove = nullptr;
    QPushButton *cmdFindCounty = nullptr; // in Frame1, below the four edit buttons
    QPushButton *cmdEnterCodes = nullptr;
    QFrame *Shape1 = nullptr;
    QTimer *Timer1 = nullptr;
    QLabel *lblState = nullptr, *lblTransmitter = nullptr;
    QPushButton *cmdOK = nullptr;

    // The line last clicked, or -1: lines that are only ticked are not highlighted.
    int highlightedRow() const;
    // Inserts a list text, unticked, at a position (the end when past it).
    void insertLine(int position, const QString &listText, bool ticked = false);
    int tickedCount() const;

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdCopy_Click();
    void cmdRemove_Click();
    void cmdEnterCodes_Click();
    // Opens "Find County"; its Use takes the county found through UseFoundCounty.
    void cmdFindCounty_Click();
    // Does in one step what the state window and this list do by hand: after asking when the
    // list holds entries (No keeps them and takes nothing), chooses the transmitter's state
    // and the transmitter in frmEnterFIP, which refills the list with the transmitter's
    // counties, and ticks and highlights the county. False when nothing was taken.
    bool UseFoundCounty(const IndexedCounty &county, const IndexedTransmitter &transmitter);
    void cmdOK_Click();
    void Timer1_Timer();

    // The close box and Escape leave the window as OK does, so that FipsList never stays
    // emptied (by a state choice) while the list still shows counties.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    explicit frmFIPS(QWidget *parent = nullptr);
    bool openEditor(int mode, const QString &frameCaption);
    bool shapePhase = false;
};

// Start-up: fills the boxes of the state window (frmEnterFIP), shows the saved state and
// filter, sets the FIPS window's labels and builds the transmitter list of the saved state.
void initStateSelection();
// Start-up: fills the list from FipsList.
void fillFipsListBox();
// Rebuilds the list with every county the transmitter covers, all unticked.
void collectTransmitterCounties(const QString &transmitterKey);
