#pragma once
// The information tip shown after the main window at start-up, and the Help menu's
// "Show Tip at startup" switch. Both work on EDITOR.ShowTipsAtStartup, which the settings
// store keeps at exit.

#include <QDialog>
#include <QPointer>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;

// The one tip, with its CR LF line breaks.
QString tipText();

class frmTip : public QDialog
{
    Q_OBJECT
public:
    // tipsMenuItem is the main window's "Show Tip at startup"; its check mark follows the setting.
    explicit frmTip(QAction *tipsMenuItem, QWidget *parent = nullptr);

    QLabel *Picture1 = nullptr;
    QLabel *lblHeading = nullptr;
    QLabel *lblTipText = nullptr;
    QCheckBox *chkLoadTipsAtStartup = nullptr;
    QPushButton *cmdOK = nullptr;

    // False when the window closed itself at load because tips are switched off.
    bool shown() const { return tipsOn; }

    void cmdOK_Click();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPointer<QAction> mnuTipsShow;
    bool tipsOn = false;
};

// Start-up: shows the tip, not modal, when ShowTipsAtStartup is true; returns the window
// (it deletes itself when closed), or null when tips are off.
frmTip *showTipAtStartup(QAction *tipsMenuItem, QWidget *parent);

// "Show Tip at startup": switches the setting and the check mark; the tip is not shown.
void mnuTipsShow_Click(QAction *tipsMenuItem);
