#include "editors/frmOption.h"

#include "core/KeyboardAccess.h"
#include "config/ReceiverConfig.h"
#include "editors/EditorWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

template <typename Button> Button *named(Button *button, const QString &name, int index)
{
    button->setObjectName(name + u'_' + QString::number(index));
    return button;
}

} // namespace

frmOption::frmOption(QWidget *parent) : QDialog(parent)
{
    setUpEditorWindow(this, QStringLiteral("frmOption"), QStringLiteral("Orvane Options"));
    Image1 = editorPicture(4, this);

    // The captions carry an accelerator each (the underlined letter); the text shown is the
    // caption itself.
    Frame5 = new QGroupBox(QStringLiteral(" Voice Interval Options "), this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    chkVocInt[0] = named(new QCheckBox(QStringLiteral("&Permit voice interval announcements and ID."), Frame5),
                         QStringLiteral("chkVocInt"), 0);
    const std::array<QString, 3> classes = {
        QStringLiteral("Permit announcements on &all decoded events."),
        QStringLiteral("Permit announcements on Warnings and &Watches only."),
        QStringLiteral("Permit announcements on Warnings &only."),
    };
    vocIntGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        optVocInt[i] = named(new QRadioButton(classes[i], Frame5), QStringLiteral("optVocInt"), i);
        vocIntGroup->addButton(optVocInt[i], i);
    }
    tabToSelectedOption(vocIntGroup);
    chkVocInt[2] = named(new QCheckBox(QStringLiteral("&Limit Monthly/Weekly Test to 15 Minutes Max."), Frame5),
                         QStringLiteral("chkVocInt"), 2);
    auto *voice = new QVBoxLayout(Frame5);
    voice->addWidget(chkVocInt[0]);
    // The options and the limit hang under the switch they depend on.
    auto *dependent = new QVBoxLayout;
    dependent->setContentsMargins(style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8, 0, 0, 0);
    for (QRadioButton *option : optVocInt)
        dependent->addWidget(option);
    dependent->addSpacing(6);
    dependent->addWidget(chkVocInt[2]);
    voice->addLayout(dependent);

    Frame2 = new QGroupBox(QStringLiteral(" Override Options "), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    const std::array<QString, 3> overrides = {
        QStringLiteral("Accept all &FIP codes"),
        QStringLiteral("Accept all &Event Codes"),
        QStringLiteral("&Ignore the Termination Data Packet   (Use Line Time Out)"),
    };
    auto *overrideLayout = new QVBoxLayout(Frame2);
    for (int i = 0; i < 3; ++i) {
        chkOverride[i] = named(new QCheckBox(overrides[i], Frame2), QStringLiteral("chkOverride"), i);
        overrideLayout->addWidget(chkOverride[i]);
    }

    auto *frames = new QVBoxLayout;
    frames->addWidget(Frame5);
    frames->addWidget(Frame2);
    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(frames, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(okCancelRow(this, QStringLiteral("cmdOk"), cmdOk, cmdCancel));

    // Loading, a click, a key and a screen reader change the boxes alike; the dependent
    // controls follow every change.
    for (int i : {0, 2})
        connect(chkVocInt[i], &QCheckBox::toggled, this, [this, i] { chkVocInt_Click(i); });
    connect(cmdOk, &QPushButton::clicked, this, &frmOption::cmdOk_Click);

    setTabOrder(chkVocInt[0], optVocInt[0]);
    setTabOrder(optVocInt[0], optVocInt[1]);
    setTabOrder(optVocInt[1], optVocInt[2]);
    setTabOrder(optVocInt[2], chkVocInt[2]);
    setTabOrder(chkVocInt[2], chkOverride[0]);
    setTabOrder(chkOverride[0], chkOverride[1]);
    setTabOrder(chkOverride[1], chkOverride[2]);
    setTabOrder(chkOverride[2], cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    new LoadOnActivation(this, [this] { GetData(); });
    adjustSize(); // laid out before it shows
}

void frmOption::GetData()
{
    const OptionControls c = optionControlsFromRecord(ReceiverConfig);
    for (int i = 0; i < 3; ++i)
        chkOverride[i]->setChecked(c.chkOverride[i]);
    chkVocInt[0]->setChecked(c.voiceInterval);
    selectOption(vocIntGroup, c.announceClass);
    chkVocInt[2]->setChecked(c.limitTests);
    followVoiceInterval();
    cmdOk->setFocus();
}

OptionControls frmOption::controls() const
{
    OptionControls c;
    for (int i = 0; i < 3; ++i)
        c.chkOverride[i] = chkOverride[i]->isChecked();
    c.voiceInterval = chkVocInt[0]->isChecked();
    c.announceClass = firstSelected(optVocInt);
    c.limitTests = chkVocInt[2]->isChecked();
    return c;
}

void frmOption::SaveData() { storeOptionControls(controls(), ReceiverConfig); }

void frmOption::cmdOk_Click()
{
    SaveData();
    accept();
}

void frmOption::chkVocInt_Click(int) { followVoiceInterval(); }

// Only the enabled state follows the switch: the options keep their values, and disabled
// ones are saved like the others.
void frmOption::followVoiceInterval()
{
    const bool on = chkVocInt[0]->isChecked();
    for (QRadioButton *option : optVocInt)
        option->setEnabled(on);
    chkVocInt[2]->setEnabled(on);
}
