#include "link/frmCommPort.h"

#include "core/Artwork.h"
#include "core/KeyboardAccess.h"
#include "core/MessageCatalogue.h"
#include "config/ReceiverConfig.h"
#include "link/LinkState.h"
#include "link/PortCtl.h"
#include "link/PortDevices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

namespace {
const QString kSearchTitle = QStringLiteral(" Orvane Serial Port Test");
std::function<void(int)> searchPauseSleeper;
} // namespace

void setSearchPauseSleeper(std::function<void(int)> sleeper) { searchPauseSleeper = std::move(sleeper); }

const std::array<QString, 8> &timeZoneItems()
{
    static const std::array<QString, 8> items = {
        QStringLiteral(" [GMT-04:00] Atlantic Time (Puerto Rico, Canada)"),
        QStringLiteral(" [GMT-05:00] Eastern Time (US, Canada)"),
        QStringLiteral(" [GMT-06:00] Central Time (US, Canada)"),
        QStringLiteral(" [GMT-07:00] Mountain Time (US, Canada)"),
        QStringLiteral(" [GMT-08:00] Pacific Time (US, Canada)"),
        QStringLiteral(" [GMT-09:00] Alaska"),
        QStringLiteral(" [GMT-10:00] Hawaii"),
        QStringLiteral(" [GMT-11:00] Midway Island, Samona"),
    };
    return items;
}

QString portOptionNote(const QString &device, const QString &description, const QString &accessProblem)
{
    QString note = device;
    if (!description.isEmpty())
        note += QStringLiteral(" (") + description + u')';
    if (!accessProblem.isEmpty())
        note += QStringLiteral(": ") + accessProblem;
    return note;
}

frmCommPort::frmCommPort(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCommPort"));
    setWindowTitle(QStringLiteral("Orvane Setup"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(imageListPicture(1));

    // The frame titles carry the accelerators: Alt+C goes to the selected port, Alt+T to the
    // time zone. The captions of the controls themselves are shown as they are.
    auto *portFrame = new QGroupBox(QStringLiteral("Serial &Comm Port"), this);
    portFrame->setObjectName(QStringLiteral("fraCommPort"));
    auto *portGrid = new QGridLayout(portFrame);
    portGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optCommPort[i] = new QRadioButton(QStringLiteral("Port %1").arg(i + 1), portFrame);
        optCommPort[i]->setObjectName(QStringLiteral("optCommPort_%1").arg(i));
        lblPortDevice[i] = new QLabel(portFrame);
        lblPortDevice[i]->setObjectName(QStringLiteral("lblPortDevice_%1").arg(i));
        lblPortDevice[i]->setWordWrap(true);
        lblPortDevice[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        portGroup->addButton(optCommPort[i], i);
        portGrid->addWidget(optCommPort[i], i, 0);
        portGrid->addWidget(lblPortDevice[i], i, 1);
    }
    portGrid->setColumnStretch(1, 1);
    tabToSelectedOption(portGroup);

    auto *zoneFrame = new QGroupBox(QStringLiteral("&Time Zone"), this);
    zoneFrame->setObjectName(QStringLiteral("fraTimeZone"));
    auto *zoneLayout = new QVBoxLayout(zoneFrame);
    cmbTimeZone = new QComboBox(zoneFrame);
    cmbTimeZone->setObjectName(QStringLiteral("cmbTimeZone"));
    cmbTimeZone->setAccessibleName(QStringLiteral("Time Zone"));
    chkAdjustTime = new QCheckBox(QStringLiteral("Automatically adjust time for daylight saving changes"), zoneFrame);
    chkAdjustTime->setObjectName(QStringLiteral("chkAdjustTime"));
    zoneLayout->addWidget(cmbTimeZone);
    zoneLayout->addWidget(chkAdjustTime);

    cmdTest = new QPushButton(QStringLiteral("Serial Port Test"), this);
    cmdTest->setObjectName(QStringLiteral("cmdTest"));
    cmdTest->setAutoDefault(false);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdTest, &QPushButton::clicked, this, &frmCommPort::cmdTest_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmCommPort::cmdOk_Click);

    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(portFrame, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdTest);
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(zoneFrame);
    layout->addLayout(buttons);

    showPortDevices();
    LoadCombos();
    GetSettings();
}

void frmCommPort::showPortDevices()
{
    for (int i = 0; i < 4; ++i) {
        const QString device = portDevicePath(i + 1);
        const QString note = portOptionNote(device, portDeviceDescription(device), portAccessProblem(device));
        lblPortDevice[i]->setText(note);
        // A screen reader on the option hears the device beside it.
        optCommPort[i]->setAccessibleDescription(note);
    }
}

void frmCommPort::LoadCombos()
{
    cmbTimeZone->clear();
    for (const QString &item : timeZoneItems())
        cmbTimeZone->addItem(item);
}

void frmCommPort::selectPortOption(int index)
{
    if (index >= 0 && index < 4) {
        optCommPort[index]->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied button by button.
    portGroup->setExclusive(false);
    for (QRadioButton *option : optCommPort)
        option->setChecked(false);
    portGroup->setExclusive(true);
}

void frmCommPort::GetSettings()
{
    const auto &e = ReceiverConfig.EDITOR;
    selectPortOption(e.SerialPort >= 1 && e.SerialPort <= 4 ? e.SerialPort - 1 : -1);
    const int zone = (e.TimeZoneOffset >= -11 && e.TimeZoneOffset <= -4) ? -4 - e.TimeZoneOffset : 0;
    cmbTimeZone->setCurrentIndex(zone);
    chkAdjustTime->setChecked(e.DaylightSavings);
}

void frmCommPort::SaveSettings()
{
    auto &e = ReceiverConfig.EDITOR;
    for (int i = 0; i < 4; ++i) {
        if (optCommPort[i]->isChecked()) {
            e.SerialPort = qint16(i + 1);
            break;
        }
    }
    e.TimeZoneOffset = -4;
    const auto &items = timeZoneItems();
    for (int i = 0; i < int(items.size()); ++i) {
        if (cmbTimeZone->currentText() == items[i]) {
            e.TimeZoneOffset = qint16(-4 - i);
            break;
        }
    }
    e.DaylightSavings = chkAdjustTime->isChecked();
}

bool frmCommPort::TestOpenPort(qint16 &PortNum)
{
    ReceiverLink &link = ReceiverLink::instance();
    PortCtl *port = link.Port1;
    port->portSetBaud(4800);
    port->portSetOption(0);
    port->portSetNumber(PortNum);
    link.PortOpenState = port->portOpen() > 0;
    if (!link.PortOpenState) {
        closeLink();
        return false;
    }
    return true;
}

qint16 frmCommPort::TestSerial()
{
    PortCtl *port = linkPort();
    port->portFlush();
    for (qint16 n = 1; n <= 4; ++n) {
        closeLink();
        qint16 number = n;
        if (!TestOpenPort(number))
            continue;
        port->portSetControl(-1);
        port->portFlush();
        port->portWriteByte(84); // "T"
        // Only the answer that is there 200 ms later counts.
        if (searchPauseSleeper)
            searchPauseSleeper(kSearchAnswerWindowMs);
        else
            QThread::msleep(kSearchAnswerWindowMs);
        QCoreApplication::processEvents();
        if (port->portReadByte() == ACK) {
            closeLink();
            return n;
        }
    }
    closeLink();
    return -1;
}

void frmCommPort::cmdTest_Click()
{
    qint16 n = -1;
    {
        // The search opens and closes ports: never in the middle of another exchange. The
        // link is free again before the answer is shown.
        const LinkOperation search(ReceiverLink::instance());
        if (!search.claimed())
            return;
        n = TestSerial();
    }
    if (n < 1 || n > 4) {
        showProgramMessage(QStringLiteral("Error...No serial handshake found.  Check all connections."),
                           QMessageBox::Ok, QMessageBox::Warning, kSearchTitle);
        return;
    }
    const QString number = QString::number(n);
    const auto answer = showProgramMessage(QStringLiteral("Serial port ") + number + QStringLiteral(" found. Set port number?"),
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Information, kSearchTitle);
    if (answer != QMessageBox::Yes)
        return;
    selectPortOption(n - 1);
    ReceiverConfig.EDITOR.SerialPort = n;
    ReceiverLink::instance().setStatusText(1, QStringLiteral(" Serial port ") + number + QStringLiteral(" found ") +
                                                  QStringLiteral("and passed handshaking test. Port ") + number +
                                                  QStringLiteral(" set."));
}

void frmCommPort::cmdOk_Click()
{
    SaveSettings();
    accept();
}

void frmCommPort::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cmdOk->setFocus();
    QDialog::changeEvent(event);
}

void frmCommPort::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    cmdOk->setFocus();
}
