#include "editors/frmTimers.h"

#include "core/KeyboardAccess.h"
#include "config/ReceiverConfig.h"
#include "editors/EditorWindows.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// One framed, exclusive group of option buttons named name_0, name_1, ...
template <std::size_t N>
QGroupBox *optionFrame(QDialog *window, const QString &frameName, const QString &title, const QString &name,
                       const std::array<QString, N> &captions, std::array<QRadioButton *, N> &buttons,
                       QButtonGroup *&group)
{
    auto *frame = new QGroupBox(title, window);
    frame->setObjectName(frameName);
    group = new QButtonGroup(window);
    auto *column = new QVBoxLayout(frame);
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(captions[i], frame);
        buttons[i]->setObjectName(name + u'_' + QString::number(i));
        group->addButton(buttons[i], int(i));
        column->addWidget(buttons[i]);
    }
    column->addStretch(1);
    tabToSelectedOption(group);
    return frame;
}

} // namespace

frmTimers::frmTimers(QWidget *parent) : QDialog(parent)
{
    setUpEditorWindow(this, QStringLiteral("frmTimers"), QStringLiteral("Orvane Timer Settings"));
    Image1 = editorPicture(5, this);

    // Each frame title carries an accelerator that takes the keyboard into its group; the
    // arrow keys then move the selection within it.
    Frame4 = optionFrame(this, QStringLiteral("Frame4"), QStringLiteral("&Line Timeout"), QStringLiteral("optTimeLn"),
                         lineTimeoutCaptions(), optTimeLn, groups[0]);
    Frame6 = optionFrame(this, QStringLiteral("Frame6"), QStringLiteral("&Voice Interval Timer"),
                         QStringLiteral("optVoiceTimer"), voiceIntervalCaptions(), optVoiceTimer, groups[1]);
    Frame7 = optionFrame(this, QStringLiteral("Frame7"), QStringLiteral("&Relay Activation Delay"),
                         QStringLiteral("optRelayDelay"), relayDelayCaptions(), optRelayDelay, groups[2]);
    Frame9 = optionFrame(this, QStringLiteral("Frame9"), QStringLiteral("&Pre Voice Delay"),
                         QStringLiteral("optVoiceDelay"), preVoiceDelayCaptions(), optVoiceDelay, groups[3]);

    auto *frames = new QGridLayout;
    frames->addWidget(Frame4, 0, 0);
    frames->addWidget(Frame6, 0, 1);
    frames->addWidget(Frame7, 1, 0);
    frames->addWidget(Frame9, 1, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(frames, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(okCancelRow(this, QStringLiteral("cmdOK"), cmdOK, cmdCancel));
    connect(cmdOK, &QPushButton::clicked, this, &frmTimers::cmdOK_Click);

    // Tab goes frame by frame as they are read, then to OK and Cancel.
    QWidget *previous = nullptr;
    for (QButtonGroup *group : groups)
        for (QAbstractButton *button : group->buttons()) {
            if (previous)
                setTabOrder(previous, button);
            previous = button;
        }
    setTabOrder(previous, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    GetData();
    // The keyboard starts in the first group, on its selection.
    QAbstractButton *start = groups[0]->checkedButton();
    (start ? start : optTimeLn[0])->setFocus();
    adjustSize(); // laid out before it shows
}

void frmTimers::GetData()
{
    const TimerSelection s = timerSelectionFromRecord(ReceiverConfig.TIMERS);
    selectOption(groups[0], s.optTimeLn);
    selectOption(groups[1], s.optVoiceTimer);
    selectOption(groups[3], s.optVoiceDelay);
    selectOption(groups[2], s.optRelayDelay);
    // Disabled, the interval keeps its selection and is saved all the same.
    const bool inUse = voiceIntervalInUse(ReceiverConfig.NV800B);
    Frame6->setEnabled(inUse);
    for (QRadioButton *option : optVoiceTimer)
        option->setEnabled(inUse);
}

TimerSelection frmTimers::selection() const
{
    TimerSelection s;
    s.optTimeLn = firstSelected(optTimeLn);
    s.optVoiceTimer = firstSelected(optVoiceTimer);
    s.optVoiceDelay = firstSelected(optVoiceDelay);
    s.optRelayDelay = firstSelected(optRelayDelay);
    return s;
}

void frmTimers::SaveData() { storeTimerSelection(selection(), ReceiverConfig.TIMERS); }

void frmTimers::cmdOK_Click()
{
    SaveData();
    accept();
}
