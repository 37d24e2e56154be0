#pragma once
// "Orvane SAME Packet Test": plays one of four complete SAME test alerts through the sound
// card (the header three times, 24 alert-tone beeps, the end of message three times), so
// that a receiver can be tried without waiting for a real alert.
//
// The clips play from memory; no file is written. While an alert plays only its button is
// usable; a click on it does not start a second alert inside the first but plays the alert
// once more after the current one ends. Closing the window ends the alert at once.

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

class frmTest : public QDialog
{
    Q_OBJECT
public:
    explicit frmTest(QWidget *parent = nullptr);
    ~frmTest() override;

    void cmdRWT_Click();
    void cmdFFW_Click();
    void cmdSVA_Click();
    void cmdTOA_Click();

    // Leaves only the button of ButtonID (1 to 4) and its label usable; other ids change nothing.
    void DisableButtons(qint16 ButtonID);
    // Makes the four buttons, cmdOk and the four labels usable again.
    void EnableButtons();
    // The beeps and the end of message of an alert; clears lblIdent.
    void EndPacket();
    // Plays clip `id` `count` times, each followed by a one-second pause.
    void playTestClip(qint16 id, qint16 count);
    // What the window does each time it becomes active (not while an alert plays).
    void Form_Activate();

    bool alertPlaying() const { return alertRunning; }
    QPushButton *alertButton(qint16 ButtonID) const;

    QLabel *lblInfo = nullptr;
    QPushButton *cmdRWT = nullptr;
    QPushButton *cmdFFW = nullptr;
    QPushButton *cmdSVA = nullptr;
    QPushButton *cmdTOA = nullptr;
    std::array<QLabel *, 4> Label1{};
    QLabel *lblIdent = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *cmdOk = nullptr;

public slots:
    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void alertButton_Click(qint16 ButtonID);
    void playAlert(qint16 ButtonID);
    // A pause of `ms` on the alert's schedule.
    void pause(int ms);

    bool alertRunning = false;
    bool alertEnding = false;  // the window is closing: the alert stops at its next step
    qint16 pendingButton = 0;  // a click during an alert: that alert once more afterwards
    qint64 alertStartMs = 0;   // on the monotonic clock
    qint64 stepDueMs = 0;      // when the next step is due, from the alert's start
};
