// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// "Orvane Setup": the serial port the receiver is wired to (with the device each port
// stands for), the time zone and daylight saving of the history times, and the port search.
// OK writes the controls back to ReceiverConfig; the close box discards them.

#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmCommPort : public QDialog
{
    Q_OBJECT
public:
    explicit frmCommPort(QWidget *parent = nullptr);

    void LoadCombos();
    void GetSettings();
    void SaveSettings();
    // Tries ports 1 to 4 with the test byte "T"; the first that answers ACK within 200 ms,
    // or -1. The caller holds the link (LinkOperation) meanwhile; cmdTest_Click does.
    qint16 TestSerial();
    bool TestOpenPort(qint16 &PortNum);

    void cmdTest_Click();
    void cmdOk_Click();

    // Shows beside each port option the device it stands for now.
    void showPortDevices();

    std::array<QRadioButton *, 4> optCommPort{};
    std::array<QLabel *, 4> lblPortDevice{};
    QComboBox *cmbTimeZone = nullptr;
    QCheckBox *chkAdjustTime = nullptr;
    QPushButton *cmdTest = nullptr;
    QPushButton *cmdOk = nullptr;
    QLabel *Image1 = nullptr;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void selectPortOption(int index); // -1 selects none
    QButtonGroup *portGroup = nullptr;
};

// The items of cmbTimeZone; item i stands for TimeZoneOffset -4 - i.
const std::array<QString, 8> &timeZoneItems();
// The pause between the port search's test byte and the one look at the answer: 200 ms.
constexpr int kSearchAnswerWindowMs = 200;
// How the search pauses (without handling window events); a test installs one that notes
// what is asked and where the search stands (empty function = the real sleep).
void setSearchPauseSleeper(std::function<void(int)> sleeper);

// The text shown beside a port option: the device, the adapter's description where known,
// and why the device cannot be used where that can be seen.
QString portOptionNote(const QString &device, const QString &description, const QString &accessProblem);
