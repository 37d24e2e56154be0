#include "link/frmTest.h"

#include "core/Artwork.h"
#include "core/Platform.h"
#include "link/TestPackets.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

// The pressed button of an alert is pure red, the others keep the style's own face. The style
// draws a face as a gradient of its own whatever the palette says, so the red face comes from
// a style sheet (a plain fill inside a thin border) and goes with it.
void showPressed(QPushButton *button, bool pressed)
{
    // The button keeps its size (a style sheet's face would be lower), and the style sheet
    // goes first: removing one puts back the palette the button had when it was set.
    if (pressed)
        button->setFixedHeight(button->sizeHint().height());
    else
        button->setMaximumHeight(QWIDGETSIZE_MAX);
    if (!pressed)
        button->setMinimumHeight(0);
    button->setStyleSheet(pressed ? QStringLiteral("QPushButton { background-color: rgb(255, 0, 0);"
                                                   " border: 1px solid rgb(96, 0, 0); }")
                                  : QString());
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, pressed ? QColor(255, 0, 0) : buttonFace());
    button->setPalette(palette);
}

void processPendingEvents() { QCoreApplication::processEvents(); }

} // namespace

frmTest::frmTest(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTest"));
    setWindowTitle(QStringLiteral("Orvane SAME Packet Test"));
    setModal(true);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setFrameShape(QFrame::Panel);
    lblInfo->setFrameShadow(QFrame::Sunken);
    lblInfo->setMargin(6);
    lblInfo->setText(testInfoText());

    auto *grid = new QGridLayout;
    std::array<QPushButton **, 4> buttons = {&cmdRWT, &cmdFFW, &cmdSVA, &cmdTOA};
    for (const TestAlert &alert : testAlerts()) {
        const int i = alert.ButtonID - 1;
        QPushButton *button = new QPushButton(alert.button, this);
        button->setObjectName(QStringLiteral("cmd") + alert.button);
        button->setMinimumWidth(90);
        *buttons[i] = button;
        Label1[i] = new QLabel(alert.label, this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        grid->addWidget(button, i, 0);
        grid->addWidget(Label1[i], i, 1);
        const qint16 id = alert.ButtonID;
        connect(button, &QPushButton::clicked, this, [this, id] { alertButton_Click(id); });
    }
    grid->setColumnStretch(1, 1);

    lblIdent = new QLabel(this);
    lblIdent->setObjectName(QStringLiteral("lblIdent"));
    QFont identFont = lblIdent->font();
    identFont.setBold(true);
    lblIdent->setFont(identFont);
    lblIdent->setMinimumWidth(220);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(64, 64);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setMinimumWidth(90);
    cmdOk->setDefault(true); // Enter closes, as OK does, unless an alert button has the focus
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *playing = new QHBoxLayout;
    playing->addWidget(lblIdent, 1);
    playing->addWidget(Picture1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdOk);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addLayout(grid);
    layout->addLayout(playing);
    layout->addLayout(bottom);
    // Picture1 comes and goes; its place stays so that nothing moves while an alert plays.
    QSizePolicy keepPlace = Picture1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Picture1->setSizePolicy(keepPlace);
    setFixedWidth(480);
    // The wrapped instruction text gets the height of all its lines at the window's width.
    const QMargins margins = layout->contentsMargins();
    lblInfo->setMinimumHeight(lblInfo->heightForWidth(480 - margins.left() - margins.right()));

    Form_Activate();
}

frmTest::~frmTest()
{
    if (alertRunning)
        Platform::stopSound();
}

QPushButton *frmTest::alertButton(qint16 ButtonID) const
{
    switch (ButtonID) {
    case 1: return cmdRWT;
    case 2: return cmdFFW;
    case 3: return cmdSVA;
    case 4: return cmdTOA;
    default: return nullptr;
    }
}

void frmTest::cmdRWT_Click() { alertButton_Click(1); }
void frmTest::cmdFFW_Click() { alertButton_Click(2); }
void frmTest::cmdSVA_Click() { alertButton_Click(3); }
void frmTest::cmdTOA_Click() { alertButton_Click(4); }

void frmTest::alertButton_Click(qint16 ButtonID)
{
    if (alertRunning) {
        // The click arrived while the window handled events between two clips: the alert
        // under way goes on, and this one follows it.
        pendingButton = ButtonID;
        return;
    }
    alertRunning = true;
    alertEnding = false;
    pendingButton = ButtonID;
    while (pendingButton != 0 && !alertEnding) {
        const qint16 id = pendingButton;
        pendingButton = 0;
        playAlert(id);
    }
    pendingButton = 0;
    alertRunning = false;
}

void frmTest::playAlert(qint16 ButtonID)
{
    const TestAlert *alert = testAlert(ButtonID);
    QPushButton *button = alertButton(ButtonID);
    if (!alert || !button)
        return;
    // Every step starts at its time counted from the alert's start, so that a clip that
    // starts or ends late (the sound server's latency, a clip given up) delays nothing after it.
    alertStartMs = Platform::monotonicMs();
    stepDueMs = 0;
    DisableButtons(ButtonID);
    lblIdent->setText(Label1[ButtonID - 1]->text());
    showPressed(button, true);
    processPendingEvents();
    pause(kPauseBeforeHeaderMs);
    playTestClip(alert->headerClip, kHeaderRepeats);
    EndPacket();
    showPressed(button, false);
    EnableButtons();
}

void frmTest::EndPacket()
{
    pause(kPauseInEndPacketMs);
    playTestClip(kBeepClip, kBeepRepeats);
    pause(kPauseInEndPacketMs);
    playTestClip(kEndOfMessageClip, kEndOfMessageRepeats);
    lblIdent->clear();
    processPendingEvents();
}

void frmTest::playTestClip(qint16 id, qint16 count)
{
    // Played from the program's memory: no file in the current directory is written,
    // overwritten or deleted, and a read-only directory plays as well as any other.
    const QByteArray clip = testClipBytes(id);
    const int clipMs = testClipMs(id);
    for (qint16 i = 0; i < count && !alertEnding; ++i) {
        processPendingEvents();
        if (alertEnding)
            break;
        Picture1->show();
        processPendingEvents();
        if (!alertEnding)
            Platform::playSound(clip); // no sound output: nothing heard, the timing runs on
        stepDueMs += clipMs;
        Picture1->hide();
        processPendingEvents();
        pause(kPauseAfterClipMs);
    }
}

void frmTest::pause(int ms)
{
    // Until the end of this pause on the alert's schedule: shorter after a late step.
    stepDueMs += ms;
    if (!alertEnding)
        Platform::sleepMs(int(std::max<qint64>(alertStartMs + stepDueMs - Platform::monotonicMs(), 0)));
}

void frmTest::DisableButtons(qint16 ButtonID)
{
    if (ButtonID < 1 || ButtonID > 4)
        return;
    for (qint16 id = 1; id <= 4; ++id) {
        alertButton(id)->setEnabled(id == ButtonID);
        Label1[id - 1]->setEnabled(id == ButtonID);
    }
    cmdOk->setEnabled(false);
}

void frmTest::EnableButtons()
{
    for (qint16 id = 1; id <= 4; ++id) {
        alertButton(id)->setEnabled(true);
        Label1[id - 1]->setEnabled(true);
    }
    cmdOk->setEnabled(true);
}

void frmTest::Form_Activate()
{
    lblIdent->clear();
    Picture1->setPixmap(imageListPicture(12));
    Picture1->hide();
    for (qint16 id = 1; id <= 4; ++id)
        showPressed(alertButton(id), false);
    cmdOk->setFocus();
}

void frmTest::done(int result)
{
    // Closing (OK, the close box, Escape) ends an alert under way: the sound stops, the
    // pauses end, and the alert's remaining steps are skipped; its buttons come back.
    if (alertRunning) {
        alertEnding = true;
        pendingButton = 0;
        Platform::stopSound();
        Platform::interruptSleep();
    }
    QDialog::done(result);
}

void frmTest::changeEvent(QEvent *event)
{
    // Activated again during an alert (after a switch to another window), the window keeps
    // showing the alert: the activation steps would clear its name and its red button.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !alertRunning)
        Form_Activate();
    QDialog::changeEvent(event);
}

void frmTest::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!alertRunning)
        Form_Activate();
}
