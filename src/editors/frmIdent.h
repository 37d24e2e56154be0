#pragma once
// "Station Identification": whether the receiver speaks the owner's call letters after an
// alert, with which voice words around them, and the call letters themselves. Created anew
// at each opening; reads the record when it opens, OK checks and stores, Cancel and the
// close box discard.

#include "editors/StationIdent.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class IdentValidator;

class frmIdent : public QDialog
{
    Q_OBJECT
public:
    explicit frmIdent(QWidget *parent = nullptr);

    std::array<QCheckBox *, 4> chkID{}; // 0 the master switch (outside Frame1), 1-3 the voice words
    QGroupBox *Frame1 = nullptr;
    std::array<QLabel *, 2> lblText{};
    QLineEdit *txtIdent = nullptr; // the call letters, fixed-pitch
    QPushButton *cmdErase = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *Image1 = nullptr;

    // Fills the controls from the record.
    void loadFromRecord();
    // Everything in Frame1 is usable only while the master switch is on; values stay.
    void UpdateEnabled();
    IdentControls controls() const;

    void chkID_Click(int index);
    void cmdErase_Click();
    void cmdOK_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    IdentValidator *filter = nullptr;
};
