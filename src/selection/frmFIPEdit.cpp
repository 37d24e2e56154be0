#include "selection/frmFIPEdit.h"

#include "core/FixedFont.h"
#include "core/MessageCatalogue.h"
#include "core/TextBoxRules.h"
#include "selection/FipsEntry.h"
#include "selection/SelectionWidgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

qint16 FipsEditMode = 0;
qint16 FipsEditIndex = 0;
QString FipsEditSource;
QString FipsEditResult;

frmFIPEdit::frmFIPEdit(QWidget *parent) : QDialog(parent)
{
    setUpSelectionWindow(this, QStringLiteral("frmFIPEdit"), QStringLiteral(" Orvane FIPS Editor"));
    const QFont fixed = fixedColumnFont();

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *fields = new QGridLayout(Frame1);
    // The code counts every character it is typed with; the names' trailing blanks are the
    // padding of their columns, which the list text drops, so they take no room.
    auto makeBox = [&](const char *name, int maxLength, const char *heading, int column) {
        auto *box = new QLineEdit(Frame1);
        box->setObjectName(QString::fromLatin1(name));
        installTextBoxRules(box, maxLength, column == 0 ? TrailingBlanks::Count : TrailingBlanks::Free);
        box->setFont(fixed);
        box->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(maxLength + 2, u'M')));
        auto *label = new QLabel(QString::fromLatin1(heading), Frame1);
        label->setBuddy(box); // the heading's letter leads to its box, and names it
        fields->addWidget(label, 0, column);
        fields->addWidget(box, 1, column);
        return box;
    };
    txtFIP = makeBox("txtFIP", 6, "FIP &Number", 0);
    txtCounty = makeBox("txtCounty", 22, "&County Name", 1);
    txtState = makeBox("txtState", 18, "&State", 2);

    auto *info = new QVBoxLayout;
    for (int k = 0; k < 4; ++k) {
        lblInfo[k] = new QLabel(this);
        lblInfo[k]->setObjectName(QStringLiteral("lblInfo_%1").arg(k));
        info->addWidget(lblInfo[k]);
    }

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(info);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmFIPEdit::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFIPEdit::cmdCancel_Click);
}

void frmFIPEdit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    prepare();
}

void frmFIPEdit::prepare()
{
    if (FipsEditMode == 2) {
        FillBoxes();
    } else if (FipsEditMode == 1) {
        for (QLineEdit *box : {txtFIP, txtCounty, txtState})
            loadTextBox(box, QString());
    }
    FillInfo(FipsEditMode);
}

void frmFIPEdit::FillBoxes()
{
    const FipsFields fields = splitListText(FipsEditSource);
    // An entry read from the list keeps every character (a 20-character state name in an
    // 18-character box is not cut short); the limits bind what the owner types or pastes.
    loadTextBox(txtFIP, fields.code);
    loadTextBox(txtCounty, fields.county);
    loadTextBox(txtState, fields.state);
}

void frmFIPEdit::FillInfo(qint16 &mode)
{
    QStringList lines;
    if (mode == 1)
        lines = {QStringLiteral("1.  Enter the six (6) digit FIP Number."),
                 QStringLiteral("2.  Enter County Name (18 caracters max)."),
                 QStringLiteral("3.  Enter State Name (15 caracters max)."),
                 QStringLiteral("4.  Click OK to save your data.")};
    else if (mode == 2)
        lines = {QStringLiteral("1.  Click within the box you want to edit."),
                 QStringLiteral("2.  Edit the entry as desired."), QStringLiteral("3.  Click OK to save your data."),
                 QString()};
    else
        return;
    for (int k = 0; k < 4; ++k)
        lblInfo[k]->setText(lines[k]);
}

void frmFIPEdit::ConstructOutString()
{
    FipsEditResult = buildListText(txtFIP->text(), txtCounty->text(), txtState->text());
}

// An edited line keeps its tick: changing a county's text does not take it out of (or
// put it into) the receiver's programme.
void frmFIPEdit::cmdOK_Click()
{
    ConstructOutString();
    if (!fipsCodeLengthValid(txtFIP->text())) {
        showProgramMessage(fipsCodeLengthMessage(), QMessageBox::Ok, QMessageBox::Warning,
                           QStringLiteral(" Orvane Digital Weather Receiver"));
        return;
    }
    accept(); // the county window puts FipsEditResult into its list
}

void frmFIPEdit::cmdCancel_Click() { reject(); }
