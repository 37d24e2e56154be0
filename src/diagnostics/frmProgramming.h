// Diagnostics (src/diagnostics): data dump, About box, tips, help and web links; uses core, config, link, selection.
#pragma once
// The two windows that show what was read from the receiver's memory, in the data dump's
// words and fixed-pitch font: "Programming Read From Orvane" (frmReadProgramming), whose
// "Use This Programming" puts what was read into the editor, and "Orvane Verify" (frmVerify),
// the comparison with the editor's programming.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmProgramming : public QDialog
{
    Q_OBJECT
public:
    enum class Kind { Read, Verify };
    frmProgramming(Kind kind, const QString &heading, const QString &text, QWidget *parent = nullptr);

    QLabel *lblHeading = nullptr;
    QPlainTextEdit *txtProgramming = nullptr;
    QPushButton *cmdUse = nullptr;    // the read window only
    QPushButton *cmdCancel = nullptr; // "Cancel" in the read window, "OK" in the verify window
};

// The "&File" menu's commands: refused with a beep while another exchange holds the link; a
// failed contact or dump says so and changes nothing.
void readProgrammingFromOrvane(QWidget *parent);
void verifyProgrammingInOrvane(QWidget *parent);
