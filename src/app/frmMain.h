#pragma once
// The program's hub: eleven command buttons, the menus, the alert history grid, the status
// bar with its two panels, the transfer progress bar, the time-out timer and the exit paths.

#include <QMainWindow>
#include <QPixmap>
#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class PortCtl;

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kCommandCount = 11;
    static constexpr int kHistoryRows = 20;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The one main window of the run (null before start-up creates it).
    static frmMain *instance();

    // Controls that other windows and operations reach through the main window.
    std::array<QPushButton *, kCommandCount> cmdMain{};
    QTimer *tmrTimeOut = nullptr;
    PortCtl *Port1 = nullptr; // the program's one serial port
    QProgressBar *prgXfer = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QLabel *, kHistoryRows> lblNum{}, lblDate{}, lblTime{}, lblLength{}, lblOrg{}, lblEvent{};
    std::array<QLabel *, 6> lblHeading{};

    QMenu *mnuFile = nullptr;
    QAction *mnuSaveAs = nullptr, *mnuExitNoSave = nullptr, *mnuExit = nullptr;
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
    void exitWithSave();
    void exitWithoutSave();
    void statusPanelClicked(int panel);

    // Whether the command of cmdMain index is built; unbuilt commands stay disabled.
    static bool commandAvailable(int index);

    // The transfer and the ROM version query live on this window.
    void EstConnect();
    void XferRomVersion();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildCommandButtons(QWidget *area);
    void buildHistoryGrid();
    void buildMenus();
    void buildStatusBar();
    void onActivate();

    std::array<QLabel *, 2> statusPanels{};
    bool closing = false;
};
