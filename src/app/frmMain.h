// Top floor (src/app): entry point, start-up, splash and main window; may use every folder.
#pragma once
// The program's hub: eleven command buttons, the menus, the alert history grid (in Frame1),
// the status bar with its two panels, the transfer progress bar and the exit paths. The
// status panels and the progress bar show what the receiver link reports.

#include <QMainWindow>
#include <QPixmap>
#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class HistoryGrid;

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kCommandCount = 11;
    static constexpr int kHistoryRows = 20; // rows of the history grid

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The one main window of the run (null before start-up creates it).
    static frmMain *instance();

    // Controls that other windows and operations reach through the main window.
    // The port Port1 and the timer tmrTimeOut belong to the receiver link (ReceiverLink).
    std::array<QPushButton *, kCommandCount> cmdMain{};
    QProgressBar *prgXfer = nullptr;
    QGroupBox *Frame1 = nullptr;
    HistoryGrid *historyGrid = nullptr; // the label arrays lblNum, lblDate, ... inside Frame1

    QMenu *mnuFile = nullptr;
    QAction *mnuSaveAs = nullptr, *mnuExitNoSave = nullptr, *mnuExit = nullptr;
    // Reading, checking and keeping the receiver's programming, between two separators.
    QAction *mnuReadProgramming = nullptr, *mnuVerifyProgramming = nullptr, *mnuSaveConfiguration = nullptr,
            *mnuOpenConfiguration = nullptr, *mnuFileSep1 = nullptr, *mnuFileSep2 = nullptr;
    QMenu *mnuView = nullptr;
    std::array<QAction *, 3> mnuHistory{}; // indexes 1 and 2, as the menu names them
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpContents = nullptr, *mnuSearchHelp = nullptr;
    QMenu *mnuBrennick = nullptr;
    QAction *mnuHomePage = nullptr, *mnuUpdate = nullptr, *mnuManuals = nullptr;
    QAction *mnuTipsShow = nullptr, *mnuTest = nullptr, *mnuAbout = nullptr;
    QAction *mnuSep1 = nullptr, *mnuSep2 = nullptr, *mnuSep3 = nullptr, *mnuSep4 = nullptr;

    // StatusBar1: panel 1 carries the link's status text, panel 2 (key "Right") the
    // receiver's ROM version and the credit text.
    void setStatusPanelText(int panel, const QString &text);
    QString statusPanelText(int panel) const;
    QLabel *statusPanel(int panel) const;

    // ImageList1: image n (1-based) is the picture of cmdMain index n - 1; images 4, 5, 6,
    // 8 and 12 are also shown by other windows.
    static QPixmap ImageList1(int image);

    // Window state.
    bool ExitInProgress = false;
    bool CreditArmed = false;
    static const QString kCreditText;

    // Commands.
    void cmdMain_Click(int index);
    void mnuExit_Click();
    void mnuExitNoSave_Click();
    // The two items of "&View History": show their group and move the check mark to it.
    void mnuHistory_1_Click();
    void mnuHistory_2_Click();
    void exitWithSave();
    void exitWithoutSave();
    void statusPanelClicked(int panel);

    // Whether the command of cmdMain index is built; unbuilt commands stay disabled.
    static bool commandAvailable(int index);

    // The transfer command and the ROM version shown after it: the exchange runs on the
    // receiver link (runTransferExchange), the menus and the history grid are this window's.
    void EstConnect();
    void XferRomVersion();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildCommandButtons(QWidget *area);
    void buildHistoryFrame();
    void connectLink();
    void buildMenus();
    void buildStatusBar();
    void onActivate();

    std::array<QLabel *, 2> statusPanels{};
    bool closing = false;
};
