#include "core/MessageCatalogue.h"

#include "core/Platform.h"

QString errorMessageText(qint16 code)
{
    switch (code) {
    case 1: return QStringLiteral("Error #201:  Selected Serial Port will not open");
    case 2: return QStringLiteral("Error #202:  Serial Connection Not Established");
    case 3: return QStringLiteral(" Error, No Transmitter Location Selected. ");
    case 4: return QStringLiteral(" Error, No FIP Counties have been Selected. ");
    case 5: return QStringLiteral(" Error, More than 24 FIP codes selected. ");
    case 10: return QStringLiteral("Error #301:  No History Data to Print. ");
    case 11: return QStringLiteral("Error #302:  Print Spooling Error. ");
    case 12: return QStringLiteral("Error #303:  No History Data to Save. ");
    case 50: return QStringLiteral("Error #500:  Could not load your Web Browser. ");
    default: return QString();
    }
}

QString fileErrorText(qint16 code)
{
    switch (code) {
    case 1: return QStringLiteral("Error #101:  Missing Orvane Digital Weather Receiver Parameter File");
    case 2: return QStringLiteral("Error #102:  Missing or Corrupted Orvane FIP Codes");
    case 3: return QStringLiteral("Error #103:  Missing or Corrupted Orvane Event Codes");
    case 4: return QStringLiteral("Error #104:  Missing or Corrupted Orvane Flag Parameters");
    case 5: return QStringLiteral("Error #105:  Missing or Corrupted Orvane Timer Parameters");
    case 6: return QStringLiteral("Error #106:  Missing or Corrupted Orvane State Parameters");
    case 7: return QStringLiteral("Error #107:  Missing or Corrupted Orvane Transmitter Location Parameter");
    case 8: return QStringLiteral("Error #108:  Missing or Corrupted Orvane Frequency Limit Parameter");
    case 9: return QStringLiteral("Error #109:  Missing or Corrupted Orvane Rear Connector Input Parameters");
    case 10: return QStringLiteral("Error #110:  Missing or Corrupted Orvane Rear Connector Output Parameters");
    case 11: return QStringLiteral("Error #111:  Missing or Corrupted Orvane Voice Interval Parameters");
    case 12: return QStringLiteral("Error #112:  Missing or Corrupted Orvane Relay Delay Parameter");
    case 13: return QStringLiteral("Error #113:  Missing or Corrupted Orvane Station Identification Parameter");
    case 99: return QStringLiteral("Error #199:  Missing or Corrupted Orvane Data File, Please Consult Factory");
    default: return QString();
    }
}

QMessageBox::StandardButton showProgramMessage(const QString &text, QMessageBox::StandardButtons buttons,
                                               QMessageBox::Icon icon, const QString &title)
{
    return Platform::showMessage({title, text, icon, buttons});
}

void showErrorMessage(qint16 code)
{
    showProgramMessage(errorMessageText(code));
}

void showFileError(qint16 code)
{
    showProgramMessage(fileErrorText(code));
    Platform::endProgram();
}

QMessageBox::StandardButton confirmPrintReport()
{
    return showProgramMessage(QStringLiteral("Proceed To Dispatch History Report To Printer"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
                              QStringLiteral("Print Orvane Event History"));
}

QMessageBox::StandardButton confirmExitWithoutCounties(qint16 code)
{
    const QString text = code == 1 ? QStringLiteral(" Error, No FIP Counties have been Selected\r\n"
                                                    " Do you still want to Exit?")
                                   : QString();
    return showProgramMessage(text, QMessageBox::Yes | QMessageBox::No);
}

QMessageBox::StandardButton askSaveChanges(qint16 code)
{
    const QString text = QStringLiteral(" Do you want to save any changes? ");
    switch (code) {
    case 1:
        return showProgramMessage(text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Question);
    case 2:
        return showProgramMessage(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    default:
        return showProgramMessage(text, QMessageBox::Ok, QMessageBox::NoIcon);
    }
}
