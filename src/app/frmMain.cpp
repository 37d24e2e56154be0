#include "app/frmMain.h"

#include "core/Artwork.h"
#include "core/MessageCatalogue.h"
#include "core/Platform.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "app/ConfigurationCommands.h"
#include "diagnostics/frmDataDump.h"
#include "diagnostics/frmProgramming.h"
#include "editors/frmIdent.h"
#include "editors/frmOption.h"
#include "editors/frmTimers.h"
#include "history/HistoryGrid.h"
#include "history/HistoryReportCommands.h"
#include "diagnostics/HelpBook.h"
#include "diagnostics/WebLinks.h"
#include "diagnostics/frmAbout.h"
#include "diagnostics/frmTip.h"
#include "history/HistoryView.h"
#include "link/LinkState.h"
#include "selection/frmEvent.h"
#include "selection/frmFIPS.h"
#include "link/frmCommPort.h"
#include "link/frmTest.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

frmMain *theMainWindow = nullptr;

const std::array<const char *, frmMain::kCommandCount> kCommandCaptions = {
    "Orvane Setup",
    "Select FIP Codes",
    "Select Event Codes",
    "Options",
    "Timers",
    "Identification",
    "Transfer Data Between PC and Orvane",
    "Download Orvane Programmed Parameters",
    "Print History Report",
    "Display Help",
    "Exit",
};

// Commands whose windows and operations are built. A command joins by getting its case
// in cmdMain_Click and its entry here.
constexpr std::array<bool, frmMain::kCommandCount> kCommandBuilt = {
    true,  // 0 setup window
    true,  // 1 FIPS code window
    true,  // 2 event code window
    true,  // 3 options window
    true,  // 4 timer window
    true,  // 5 identification window
    true,  // 6 transfer
    true,  // 7 data dump
    true,  // 8 history report
    true,  // 9 help file
    true,  // 10 exit
};

static_assert(frmMain::kHistoryRows == HistoryGrid::kHistoryRows);

} // namespace

const QString frmMain::kCreditText = QStringLiteral("Orvane Editor 1.05 - made for Orvane receiver owners");

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    theMainWindow = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    auto *buttonArea = new QWidget(central);
    buildCommandButtons(buttonArea);
    layout->addWidget(buttonArea);
    buildHistoryFrame();
    Frame1->setParent(central);
    layout->addWidget(Frame1, 1);
    setCentralWidget(central);
    resize(sizeHint().expandedTo(QSize(900, 640)));

    buildMenus();
    buildStatusBar();

    connectLink();

    // F8 arms the credit text whatever Shift, Ctrl, Alt or Meta are held with it: one shortcut
    // for each combination of them.
    const Qt::KeyboardModifier shiftKeys[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                              Qt::MetaModifier};
    for (int held = 0; held < 16; ++held) {
        Qt::KeyboardModifiers modifiers;
        for (int k = 0; k < 4; ++k)
            if (held & (1 << k))
                modifiers |= shiftKeys[k];
        auto *f8 = new QShortcut(QKeyCombination(modifiers, Qt::Key_F8), this);
        connect(f8, &QShortcut::activated, this, [this] { CreditArmed = true; });
    }

    // Load handler.
    mnuView->menuAction()->setEnabled(false);
    mnuSaveAs->setEnabled(false);
    CreditArmed = false;
    prgXfer->setVisible(false);
    setWindowIcon(QIcon(programIcon()));
}

frmMain::~frmMain()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

frmMain *frmMain::instance() { return theMainWindow; }

QPixmap frmMain::ImageList1(int image) { return imageListPicture(image); }

bool frmMain::commandAvailable(int index)
{
    return index >= 0 && index < kCommandCount && kCommandBuilt[index];
}

void frmMain::buildCommandButtons(QWidget *area)
{
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    for (int k = 0; k < kCommandCount; ++k) {
        auto *button = new QPushButton(QString::fromLatin1(kCommandCaptions[k]), area);
        button->setObjectName(QStringLiteral("cmdMain_%1").arg(k));
        button->setIcon(QIcon(ImageList1(k + 1)));
        button->setIconSize(QSize(32, 32));
        button->setMinimumHeight(44);
        button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 8px; padding-right: 12px;"));
        button->setEnabled(commandAvailable(k));
        if (!commandAvailable(k))
            button->setToolTip(tr("Not available in this version of the editor"));
        connect(button, &QPushButton::clicked, this, [this, k] { cmdMain_Click(k); });
        cmdMain[k] = button;
        column->addWidget(button);
    }
    column->addStretch(1);
}

void frmMain::buildHistoryFrame()
{
    // Alt+A takes the keyboard into the grid.
    Frame1 = new QGroupBox(tr("&Alert History"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(Frame1);
    historyGrid = new HistoryGrid(Frame1);
    frameLayout->addWidget(historyGrid, 1);
}

// The link's reports land in status panels 1 and 2 and in prgXfer.
void frmMain::connectLink()
{
    ReceiverLink &link = ReceiverLink::instance();
    connect(&link, &ReceiverLink::statusTextChanged, this, &frmMain::setStatusPanelText);
    connect(&link, &ReceiverLink::progressMaximumChanged, prgXfer, &QProgressBar::setMaximum);
    connect(&link, &ReceiverLink::progressValueChanged, prgXfer, &QProgressBar::setValue);
    connect(&link, &ReceiverLink::progressVisibleChanged, prgXfer, &QWidget::setVisible);
}

void frmMain::buildMenus()
{
    auto named = [](QAction *action, const char *name) {
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuSaveAs = named(mnuFile->addAction(QStringLiteral("Save History Report To a File As...")), "mnuSaveAs");
    mnuFileSep1 = named(mnuFile->addSeparator(), "mnuFileSep1");
    mnuReadProgramming = named(mnuFile->addAction(QStringLiteral("&Read Programming From Orvane")), "mnuReadProgramming");
    mnuVerifyProgramming = named(mnuFile->addAction(QStringLiteral("&Verify Programming In Orvane")), "mnuVerifyProgramming");
    mnuSaveConfiguration = named(mnuFile->addAction(QStringLiteral("Save &Configuration File As...")), "mnuSaveConfiguration");
    mnuOpenConfiguration = named(mnuFile->addAction(QStringLiteral("&Open Configuration File...")), "mnuOpenConfiguration");
    mnuOpenConfiguration->setShortcut(QKeySequence::Open);
    mnuFileSep2 = named(mnuFile->addSeparator(), "mnuFileSep2");
    connect(mnuReadProgramming, &QAction::triggered, this, [this] { readProgrammingFromOrvane(this); });
    connect(mnuVerifyProgramming, &QAction::triggered, this, [this] { verifyProgrammingInOrvane(this); });
    connect(mnuSaveConfiguration, &QAction::triggered, this, [this] { saveConfigurationFileAs(this); });
    connect(mnuOpenConfiguration, &QAction::triggered, this, [this] { openConfigurationFile(this); });
    mnuExitNoSave = named(mnuFile->addAction(QStringLiteral("Ex&it Without Save")), "mnuExitNoSave");
    mnuExit = named(mnuFile->addAction(QStringLiteral("E&xit")), "mnuExit");
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(this); });
    connect(mnuExitNoSave, &QAction::triggered, this, &frmMain::mnuExitNoSave_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);

    mnuView = menuBar()->addMenu(QStringLiteral("&View History"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuHistory[1] = named(mnuView->addAction(QStringLiteral("View History Group    1 - 20")), "mnuHistory_1");
    mnuHistory[2] = named(mnuView->addAction(QStringLiteral("View History Group  21 - 40")), "mnuHistory_2");
    mnuHistory[1]->setCheckable(true);
    mnuHistory[2]->setCheckable(true);
    connect(mnuHistory[1], &QAction::triggered, this, &frmMain::mnuHistory_1_Click);
    connect(mnuHistory[2], &QAction::triggered, this, &frmMain::mnuHistory_2_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = named(mnuHelp->addAction(QStringLiteral("&Help Contents")), "mnuHelpContents");
    mnuSearchHelp = named(mnuHelp->addAction(QStringLiteral("&Search For Help On...")), "mnuSearchHelp");
    mnuSep1 = named(mnuHelp->addSeparator(), "mnuSep1");
    mnuBrennick = mnuHelp->addMenu(QStringLiteral("&Brennick on the Web"));
    mnuBrennick->setObjectName(QStringLiteral("mnuBrennick"));
    mnuHomePage = named(mnuBrennick->addAction(QStringLiteral("&Home Page...")), "mnuHomePage");
    mnuUpdate = named(mnuBrennick->addAction(QStringLiteral("&Database Update Page...")), "mnuUpdate");
    mnuManuals = named(mnuBrennick->addAction(QStringLiteral("&Manuals Update Page...")), "mnuManuals");
    mnuSep2 = named(mnuHelp->addSeparator(), "mnuSep2");
    mnuTipsShow = named(mnuHelp->addAction(QStringLiteral("Show Tip at startup")), "mnuTipsShow");
    mnuSep4 = named(mnuHelp->addSeparator(), "mnuSep4");
    mnuTest = named(mnuHelp->addAction(QStringLiteral("&Play Test Packets...")), "mnuTest");
    connect(mnuTest, &QAction::triggered, this, [this] { frmTest(this).exec(); });
    mnuSep3 = named(mnuHelp->addSeparator(), "mnuSep3");
    mnuAbout = named(mnuHelp->addAction(QStringLiteral("&About")), "mnuAbout");

    mnuTipsShow->setCheckable(true);
    connect(mnuHelpContents, &QAction::triggered, this, [] { showHelpContents(); });
    connect(mnuSearchHelp, &QAction::triggered, this, [] { showHelpSearch(); });
    connect(mnuHomePage, &QAction::triggered, this, [] { showWebPage(kHomePage); });
    connect(mnuUpdate, &QAction::triggered, this, [] { showWebPage(kDatabaseUpdatePage); });
    connect(mnuManuals, &QAction::triggered, this, [] { showWebPage(kManualsPage); });
    connect(mnuTipsShow, &QAction::triggered, this, [this] { mnuTipsShow_Click(mnuTipsShow); });
    connect(mnuAbout, &QAction::triggered, this, [this] { showAboutBox(this); });
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);

    statusPanels[0] = new QLabel(bar);
    statusPanels[0]->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    statusPanels[0]->setMinimumWidth(260);
    statusPanels[1] = new QLabel(bar);
    statusPanels[1]->setObjectName(QStringLiteral("StatusBar1_Right"));
    statusPanels[1]->setMinimumWidth(180);
    statusPanels[1]->setFrameShape(QFrame::StyledPanel);
    statusPanels[1]->installEventFilter(this);

    prgXfer = new QProgressBar(bar);
    prgXfer->setObjectName(QStringLiteral("prgXfer"));
    prgXfer->setTextVisible(false);
    prgXfer->setMaximumWidth(220);

    bar->addWidget(statusPanels[0], 1);
    bar->addPermanentWidget(prgXfer);
    bar->addPermanentWidget(statusPanels[1]);
}

QLabel *frmMain::statusPanel(int panel) const
{
    return (panel == 1 || panel == 2) ? statusPanels[panel - 1] : nullptr;
}

void frmMain::setStatusPanelText(int panel, const QString &text)
{
    if (QLabel *label = statusPanel(panel))
        label->setText(text);
}

QString frmMain::statusPanelText(int panel) const
{
    QLabel *label = statusPanel(panel);
    return label ? label->text() : QString();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == statusPanels[1] && event->type() == QEvent::MouseButtonPress) {
        statusPanelClicked(2);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::statusPanelClicked(int panel)
{
    if (panel != 2)
        return;
    if (CreditArmed) {
        setStatusPanelText(2, kCreditText);
        Platform::beep();
        CreditArmed = false;
    } else if (statusPanelText(2) == kCreditText) {
        setStatusPanelText(2, QString());
    }
}

void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        onActivate();
    QMainWindow::changeEvent(event);
}

void frmMain::onActivate()
{
    for (int k = 0; k < kCommandCount; ++k)
        cmdMain[k]->setIcon(QIcon(ImageList1(k + 1)));
    setStatusPanelText(2, QString());
    unsetCursor();
}

void frmMain::cmdMain_Click(int index)
{
    if (!commandAvailable(index))
        return;
    switch (index) {
    case 0: {
        frmCommPort setup(this);
        setup.exec();
        break;
    }
    case 1:
        frmFIPS::instance()->exec();
        break;
    case 2: {
        frmEvent events(this);
        events.exec();
        break;
    }
    case 3: {
        frmOption options(this);
        options.exec();
        break;
    }
    case 4: {
        frmTimers timers(this);
        timers.exec();
        break;
    }
    case 5: {
        frmIdent ident(this);
        ident.exec();
        break;
    }
    case 6:
        EstConnect();
        break;
    case 7:
        downloadProgrammedParameters(this);
        break;
    case 8:
        printReportCommand();
        break;
    case 9:
        showHelpContents();
        break;
    case 10:
        ExitInProgress = true;
        exitWithSave();
        break;
    default:
        break;
    }
}

void frmMain::mnuExit_Click()
{
    switch (askSaveChanges(1)) {
    case QMessageBox::Yes:
        ExitInProgress = true;
        exitWithSave();
        break;
    case QMessageBox::No:
        ExitInProgress = true;
        exitWithoutSave();
        break;
    default:
        break; // Cancel or the box closed: stay
    }
}

void frmMain::mnuHistory_1_Click()
{
    showHistoryGroup(*historyGrid, 0);
    mnuHistory[1]->setChecked(true);
    mnuHistory[2]->setChecked(false);
}

void frmMain::mnuHistory_2_Click()
{
    showHistoryGroup(*historyGrid, 1);
    mnuHistory[1]->setChecked(false);
    mnuHistory[2]->setChecked(true);
}

void frmMain::mnuExitNoSave_Click()
{
    ExitInProgress = true;
    exitWithoutSave();
}

// Each step runs even when an earlier one failed: the program always ends.
void frmMain::exitWithSave()
{
    closeLink();
    saveSettings();
    writeParameterFile();
    close();
}

void frmMain::exitWithoutSave()
{
    closeLink();
    close();
    Platform::endProgram();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (closing)
        return;
    closing = true;
    // The close box and a system shutdown save without asking, like the "Exit" button.
    if (!ExitInProgress) {
        closeLink();
        saveSettings();
        writeParameterFile();
    }
    showMinimized();
    QCoreApplication::processEvents();
    Platform::endProgram();
}
