#include "diagnostics/frmAbout.h"

#include "core/Artwork.h"
#include "config/ReceiverConfig.h"
#include "diagnostics/SysInfo.h"
#include "diagnostics/WebLinks.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    // No title text. An empty title would not do: the window system then shows the
    // program's name in its place.
    setWindowTitle(QStringLiteral(" "));
    setWindowIcon(QIcon(programIcon()));

    auto label = [this](const QString &text, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };

    Image1 = label(QString(), "Image1");
    Image1->setPixmap(splashPicture(300, 166));
    Image1->setAlignment(Qt::AlignCenter);

    lblProduct = label(QStringLiteral("SAME Digital Weather Receiver"), "lblProduct");
    QFont verdana(QStringLiteral("Verdana"));
    verdana.setPointSize(verdana.pointSize() + 2);
    lblProduct->setFont(verdana);
    lblTitle = label(QStringLiteral("Orvane"), "lblTitle");
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 10);
    big.setBold(true);
    lblTitle->setFont(big);

    lblCompany = label(kMakerCompany, "lblCompany");
    QFont company = lblCompany->font();
    company.setBold(true);
    lblCompany->setFont(company);
    lblTown = label(kMakerTown, "lblTown");
    lblTelephone = label(kMakerTelephone, "lblTelephone");
    lblWebAddress = label(kMakerWebText, "lblWebAddress");
    lblDisclaimer = label(kMakerLegalNotice, "lblDisclaimer");
    QFont small = lblDisclaimer->font();
    small.setPointSize(std::max(small.pointSize() - 1, 7));
    lblDisclaimer->setFont(small);
    lblDisclaimer->setWordWrap(true);

    Label1 = label(QString(), "Label1");
    Label3 = label(QString(), "Label3");

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info"), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });

    auto *text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(lblProduct);
    text->addWidget(lblTitle);
    text->addSpacing(8);
    for (QLabel *l : {lblCompany, lblTown, lblTelephone, lblWebAddress})
        text->addWidget(l);
    text->addSpacing(8);
    text->addWidget(Label1);
    text->addWidget(Label3);
    text->addStretch(1);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSysInfo);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addLayout(bottom);

    showVersions();
}

void frmAbout::showVersions()
{
    Label1->setText(QStringLiteral("Windows Editor Version ") + ReceiverConfig.EDITOR.EditorVersion);
    Label3->setText(QStringLiteral("Receiver Firmware Version ") + ReceiverConfig.EDITOR.ReceiverVersion);
}

// The versions follow every activation, so the box never shows an older reading.
void frmAbout::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showVersions();
    QDialog::changeEvent(event);
}

void frmAbout::showEvent(QShowEvent *event)
{
    showVersions();
    QDialog::showEvent(event);
}

void showAboutBox(QWidget *parent)
{
    frmAbout about(parent);
    about.exec();
}
