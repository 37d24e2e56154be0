// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// "Orvane State / Transmitter Entry": the owner picks a state, optionally a channel, and
// the transmitter the receiver listens to; the FIPS list then holds every county that
// transmitter covers. Created and filled at start-up and only shown and hidden.

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmEnterFIP : public QDialog
{
    Q_OBJECT
public:
    static frmEnterFIP *instance();

    QComboBox *cmbState = nullptr, *cmbLimit = nullptr;
    QListWidget *lstCounty = nullptr;
    QLabel *lblCountyHead = nullptr;
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr;
    std::array<QLabel *, 4> lslInfo{};

    void fillStateList();
    void fillFrequencyList();
    bool buildTransmitterList(int stateIndex);
    // Stores the highlighted transmitter, empties FipsList and the state lines, and tells the
    // county window through transmitterStored.
    bool StoreFips();

    // The owner's choices from the boxes' lists.
    void cmbState_Click(int index);
    void cmbLimit_Click(int index);
    void cmdOk_Click();
    void cmdCancel_Click();

signals:
    // OK took `transmitter` of the state `stateName`: the county window (frmFIPS) shows them
    // and fills its list with the transmitter's counties.
    void transmitterStored(const QString &stateName, const QString &transmitter);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    explicit frmEnterFIP(QWidget *parent = nullptr);
};

