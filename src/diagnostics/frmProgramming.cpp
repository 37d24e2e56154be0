#include "diagnostics/frmProgramming.h"

#include "core/FixedFont.h"
#include "core/MessageCatalogue.h"
#include "diagnostics/frmDataDump.h"
#include "selection/frmFIPS.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmProgramming::frmProgramming(Kind kind, const QString &heading, const QString &text, QWidget *parent)
    : QDialog(parent)
{
    const bool read = kind == Kind::Read;
    setObjectName(read ? QStringLiteral("frmReadProgramming") : QStringLiteral("frmVerify"));
    setWindowTitle(read ? QStringLiteral("Programming Read From Orvane") : QStringLiteral("Orvane Verify"));
    setModal(true);

    lblHeading = new QLabel(heading, this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    lblHeading->setWordWrap(true);
    txtProgramming = new QPlainTextEdit(text, this);
    txtProgramming->setObjectName(QStringLiteral("txtProgramming"));
    txtProgramming->setReadOnly(true);
    txtProgramming->setFont(fixedColumnFont());
    txtProgramming->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtProgramming->setTabChangesFocus(true);
    txtProgramming->setAccessibleName(read ? QStringLiteral("Programming read") : QStringLiteral("Differences"));
    txtProgramming->setMinimumWidth(txtProgramming->fontMetrics().horizontalAdvance(QString(80, u'.')) + 40);
    txtProgramming->setMinimumHeight(txtProgramming->fontMetrics().lineSpacing() * (read ? 30 : 16));
    lblHeading->setBuddy(txtProgramming);

    auto *buttons = new QDialogButtonBox(this);
    if (read) {
        cmdUse = buttons->addButton(QStringLiteral("&Use This Programming"), QDialogButtonBox::AcceptRole);
        cmdUse->setObjectName(QStringLiteral("cmdUse"));
        cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cmdUse->setDefault(true);
    } else {
        cmdCancel = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        cmdCancel->setDefault(true);
    }
    cmdCancel->setObjectName(read ? QStringLiteral("cmdCancel") : QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblHeading);
    layout->addWidget(txtProgramming, 1);
    layout->addWidget(buttons);
}

namespace {

// The receiver's memory, or nothing when the exchange failed (the owner has been told why).
std::optional<MemoryBytes> readMemory()
{
    MemoryBytes memory{};
    switch (readReceiverMemory(memory)) {
    case MemoryRead::Read:
        return memory;
    case MemoryRead::Busy:
        break;
    case MemoryRead::NoContact:
        showProgramMessage(QStringLiteral("Serial Connection Fail..."));
        break;
    case MemoryRead::TimedOut:
        showProgramMessage(QStringLiteral("The Orvane did not send its memory: nothing was read."));
        break;
    }
    return std::nullopt;
}

} // namespace

void readProgrammingFromOrvane(QWidget *parent)
{
    const auto memory = readMemory();
    if (!memory)
        return;
    const ProgrammingDecode decoded = decodeProgramming(*memory);
    if (!decoded.ok) {
        showProgramMessage(QStringLiteral("The Orvane's memory holds no programming the editor can use: %1\n\n"
                                          "Nothing was changed.")
                               .arg(decoded.error),
                           QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    DumpBufferBytes dump{};
    std::copy(memory->begin(), memory->end(), dump.begin());
    frmProgramming window(frmProgramming::Kind::Read,
                          QStringLiteral("The Orvane holds this programming. \"Use This Programming\" puts it into "
                                         "the editor in place of the options, timers, station identification, "
                                         "counties and event codes shown now."),
                          formatNvDump(dump).mid(kDumpLineEnd.size()), parent);
    if (window.exec() != QDialog::Accepted)
        return;
    useProgramming(decoded.programming);
    fillFipsListBox(); // the county list window shows the counties read
}

void verifyProgrammingInOrvane(QWidget *parent)
{
    const auto memory = readMemory();
    if (!memory)
        return;
    const QStringList differences = programmingDifferences(*memory, editorMemoryImage());
    const QString heading =
        differences.isEmpty()
            ? QStringLiteral("The Orvane holds the programming shown in the editor.")
            : QStringLiteral("The Orvane holds other programming than the editor shows (%1, the Orvane's first):")
                  .arg(differences.size() == 1 ? QStringLiteral("1 difference")
                                               : QStringLiteral("%1 differences").arg(differences.size()));
    frmProgramming window(frmProgramming::Kind::Verify, heading, differences.join(u'\n'), parent);
    window.txtProgramming->setVisible(!differences.isEmpty());
    window.exec();
}
