#include "diagnostics/frmTip.h"

#include "core/Artwork.h"
#include "config/ReceiverConfig.h"
#include "diagnostics/WebLinks.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString tipText()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Your Orvane contains a database of weather transmitters")
           + QStringLiteral(" throughout the United States and it's Territories.  Since these stations are")
           + QStringLiteral(" upgraded, deleted, or added by NOAA every few months,  remember to periodically check into web site:")
           + crlf + u' ' + kMakerWebText
           + crlf + QStringLiteral("There you can download a file to update") + QStringLiteral(" your Orvane database.")
           + crlf + crlf + QStringLiteral(" You can directly access the Web update page from the Orvane \"Help\" menu.");
}

frmTip::frmTip(QAction *tipsMenuItem, QWidget *parent) : QDialog(parent), mnuTipsShow(tipsMenuItem)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Orvane Information Tip"));
    setAttribute(Qt::WA_DeleteOnClose);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(programIcon(72));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblHeading = new QLabel(QStringLiteral("Information Tip For You To Know..."), this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont heading = lblHeading->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 3);
    lblHeading->setFont(heading);

    lblTipText = new QLabel(this);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setFont(QFont(QStringLiteral("Verdana")));
    lblTipText->setWordWrap(true);
    lblTipText->setMinimumWidth(420);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tip at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);

    auto *page = new QVBoxLayout;
    page->addWidget(lblHeading);
    page->addSpacing(6);
    page->addWidget(lblTipText, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addLayout(page, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkLoadTipsAtStartup);
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addSpacing(8);
    layout->addLayout(bottom);

    // Load: with tips off the window goes away at once and only the menu is unchecked.
    tipsOn = ReceiverConfig.EDITOR.ShowTipsAtStartup;
    if (mnuTipsShow)
        mnuTipsShow->setChecked(tipsOn);
    if (tipsOn) {
        chkLoadTipsAtStartup->setChecked(true);
        // A QLabel breaks lines at LF; the CR of each CR LF break has no glyph to show.
        lblTipText->setText(tipText().remove(u'\r'));
    }
}

void frmTip::cmdOK_Click()
{
    ReceiverConfig.EDITOR.ShowTipsAtStartup = chkLoadTipsAtStartup->isChecked();
    if (mnuTipsShow)
        mnuTipsShow->setChecked(ReceiverConfig.EDITOR.ShowTipsAtStartup);
    close();
}

void frmTip::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cmdOK->setFocus();
    QDialog::changeEvent(event);
}

void frmTip::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdOK->setFocus();
}

frmTip *showTipAtStartup(QAction *tipsMenuItem, QWidget *parent)
{
    auto *tip = new frmTip(tipsMenuItem, parent);
    if (!tip->shown()) {
        delete tip;
        return nullptr;
    }
    tip->setModal(false);
    tip->show();
    return tip;
}

void mnuTipsShow_Click(QAction *tipsMenuItem)
{
    ReceiverConfig.EDITOR.ShowTipsAtStartup = !ReceiverConfig.EDITOR.ShowTipsAtStartup;
    if (tipsMenuItem)
        tipsMenuItem->setChecked(ReceiverConfig.EDITOR.ShowTipsAtStartup);
}
