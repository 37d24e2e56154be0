#pragma once
// "Orvane Timer Settings": line timeout, voice interval timer, relay delay and pre-voice
// delay, one option group each. Created anew at each opening and read from the record once;
// OK writes the four codes back, Cancel and the close box discard.

#include "editors/TimerSettings.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmTimers : public QDialog
{
    Q_OBJECT
public:
    explicit frmTimers(QWidget *parent = nullptr);

    QGroupBox *Frame4 = nullptr; // line timeout
    QGroupBox *Frame6 = nullptr; // voice interval timer
    QGroupBox *Frame7 = nullptr; // relay activation delay
    QGroupBox *Frame9 = nullptr; // pre-voice delay
    std::array<QRadioButton *, 6> optTimeLn{};
    std::array<QRadioButton *, 6> optVoiceTimer{};
    std::array<QRadioButton *, 5> optRelayDelay{};
    std::array<QRadioButton *, 5> optVoiceDelay{};
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *Image1 = nullptr;

    // Selects the buttons from the record; the voice interval group is usable only while one
    // of the outputs repeats announcements.
    void GetData();
    // Writes the four codes into the record.
    void SaveData();
    TimerSelection selection() const;

    void cmdOK_Click();

private:
    std::array<QButtonGroup *, 4> groups{}; // line, voice interval, relay, pre-voice
};
