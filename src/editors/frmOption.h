#pragma once
// "Orvane Options": the override switches and the voice interval behaviour of the receiver.
// Created anew at each opening; reads the record when it opens, OK writes the nine fields
// back, Cancel and the close box discard.

#include "editors/OptionSettings.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmOption : public QDialog
{
    Q_OBJECT
public:
    explicit frmOption(QWidget *parent = nullptr);

    QGroupBox *Frame5 = nullptr; // voice interval options
    QGroupBox *Frame2 = nullptr; // override options
    std::array<QCheckBox *, 3> chkVocInt{}; // indexes 0 and 2; index 1 does not exist
    std::array<QRadioButton *, 3> optVocInt{};
    std::array<QCheckBox *, 3> chkOverride{};
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *Image1 = nullptr;

    // Fills every control from the record, then gives OK the keyboard focus.
    void GetData();
    // Writes every control into the record.
    void SaveData();
    // The controls as they stand.
    OptionControls controls() const;

    void cmdOk_Click();
    // Enables the three options and the test limit exactly when the voice interval is on.
    void chkVocInt_Click(int index);

private:
    void followVoiceInterval();
    QButtonGroup *vocIntGroup = nullptr;
};
