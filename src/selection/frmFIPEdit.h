// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// " Orvane FIPS Editor": adds or edits one line of the FIPS list by its three fields.
// Created for each add or edit and destroyed when it closes.

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The exchange with the FIPS list window while the editor is open.
extern qint16 FipsEditMode;   // 1 add a line, 2 edit the highlighted line
extern qint16 FipsEditIndex;  // the list position that receives the result
extern QString FipsEditSource; // the highlighted line's text when the editor opened
extern QString FipsEditResult; // built by ConstructOutString

class frmFIPEdit : public QDialog
{
    Q_OBJECT
public:
    explicit frmFIPEdit(QWidget *parent = nullptr);

    QGroupBox *Frame1 = nullptr;
    QLineEdit *txtFIP = nullptr, *txtCounty = nullptr, *txtState = nullptr;
    std::array<QLabel *, 4> lblInfo{};
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr;

    void FillBoxes();
    void FillInfo(qint16 &mode);
    void ConstructOutString();
    // Fills the boxes for the current mode, as the window does when it opens.
    void prepare();

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent *event) override;
};
