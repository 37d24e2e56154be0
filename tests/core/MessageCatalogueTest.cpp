#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "core/MessageCatalogue.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class MessageCatalogueTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { doubles().clear(); }

    void numberedErrors_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "Error #201:  Selected Serial Port will not open";
        QTest::newRow("2") << 2 << "Error #202:  Serial Connection Not Established";
        QTest::newRow("3") << 3 << " Error, No Transmitter Location Selected. ";
        QTest::newRow("5") << 5 << " Error, More than 24 FIP codes selected. ";
        QTest::newRow("10") << 10 << "Error #301:  No History Data to Print. ";
        QTest::newRow("12") << 12 << "Error #303:  No History Data to Save. ";
        QTest::newRow("50") << 50 << "Error #500:  Could not load your Web Browser. ";
        QTest::newRow("unknown 6") << 6 << "";
        QTest::newRow("unknown 60") << 60 << "";
    }
    void numberedErrors()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        showErrorMessage(qint16(code));
        QCOMPARE(doubles().messages.size(), 1);
        const MessageRequest &m = doubles().messages.first();
        QCOMPARE(m.title, QStringLiteral("Orvane Digital Weather Receiver"));
        QCOMPARE(m.text, text);
        QCOMPARE(m.icon, QMessageBox::Warning);
        QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(doubles().programEnds, 0);
    }

    // The codes that no part of the program raises today still show their texts.
    void numberedErrorsWithoutCaller_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("4") << 4 << " Error, No FIP Counties have been Selected. ";
        QTest::newRow("11") << 11 << "Error #302:  Print Spooling Error. ";
    }
    void numberedErrorsWithoutCaller() { numberedErrors(); }

    // Every file error: its text in the box (title, icon, OK), then the program ends.
    void everyFileError_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        const char *texts[] = {
            "Error #101:  Missing Orvane Digital Weather Receiver Parameter File",
            "Error #102:  Missing or Corrupted Orvane FIP Codes",
            "Error #103:  Missing or Corrupted Orvane Event Codes",
            "Error #104:  Missing or Corrupted Orvane Flag Parameters",
            "Error #105:  Missing or Corrupted Orvane Timer Parameters",
            "Error #106:  Missing or Corrupted Orvane State Parameters",
            "Error #107:  Missing or Corrupted Orvane Transmitter Location Parameter",
            "Error #108:  Missing or Corrupted Orvane Frequency Limit Parameter",
            "Error #109:  Missing or Corrupted Orvane Rear Connector Input Parameters",
            "Error #110:  Missing or Corrupted Orvane Rear Connector Output Parameters",
            "Error #111:  Missing or Corrupted Orvane Voice Interval Parameters",
            "Error #112:  Missing or Corrupted Orvane Relay Delay Parameter",
            "Error #113:  Missing or Corrupted Orvane Station Identification Parameter",
        };
        for (int code = 1; code <= 13; ++code)
            QTest::addRow("%d", code) << code << QString::fromLatin1(texts[code - 1]);
        QTest::newRow("99") << 99 << "Error #199:  Missing or Corrupted Orvane Data File, Please Consult Factory";
        QTest::newRow("unknown 0") << 0 << "";
        QTest::newRow("unknown 14") << 14 << "";
    }
    void everyFileError()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        showFileError(qint16(code));
        QCOMPARE(doubles().messages.size(), 1);
        const MessageRequest &m = doubles().messages.first();
        QCOMPARE(m.text, text);
        QCOMPARE(m.title, QStringLiteral("Orvane Digital Weather Receiver"));
        QCOMPARE(m.icon, QMessageBox::Warning);
        QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(doubles().programEnds, 1);
        QCOMPARE(fileErrorText(qint16(code)), text);
    }

    void fileErrorEndsTheProgram()
    {
        showFileError(8);
        QCOMPARE(doubles().lastMessageText(),
                 QStringLiteral("Error #108:  Missing or Corrupted Orvane Frequency Limit Parameter"));
        QCOMPARE(doubles().programEnds, 1);

        showFileError(42); // unknown code: an empty box, and the program still ends
        QCOMPARE(doubles().lastMessageText(), QString());
        QCOMPARE(doubles().programEnds, 2);
        QCOMPARE(fileErrorText(99), QStringLiteral("Error #199:  Missing or Corrupted Orvane Data File, Please Consult Factory"));
    }

    void questions()
    {
        doubles().answerNext(QMessageBox::Cancel);
        QCOMPARE(confirmPrintReport(), QMessageBox::Cancel);
        MessageRequest m = doubles().messages.last();
        QCOMPARE(m.title, QStringLiteral("Print Orvane Event History"));
        QCOMPARE(m.text, QStringLiteral("Proceed To Dispatch History Report To Printer"));
        QCOMPARE(m.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(m.icon, QMessageBox::Question);

        doubles().answerNext(QMessageBox::No);
        QCOMPARE(confirmExitWithoutCounties(1), QMessageBox::No);
        m = doubles().messages.last();
        QCOMPARE(m.text.split(QStringLiteral("\r\n")),
                 QStringList({" Error, No FIP Counties have been Selected", " Do you still want to Exit?"}));
        QCOMPARE(m.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(m.icon, QMessageBox::Warning);
        confirmExitWithoutCounties(2);
        QCOMPARE(doubles().lastMessageText(), QString());
    }

    void saveQuestionButtonSets()
    {
        askSaveChanges(1);
        QCOMPARE(doubles().messages.last().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(doubles().messages.last().text, QStringLiteral(" Do you want to save any changes? "));
        QCOMPARE(doubles().messages.last().icon, QMessageBox::Question);
        askSaveChanges(2);
        QCOMPARE(doubles().messages.last().buttons, QMessageBox::Yes | QMessageBox::No);
        askSaveChanges(3);
        QCOMPARE(doubles().messages.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(doubles().messages.last().icon, QMessageBox::NoIcon);
    }

    // The real presenter: closing a Yes/No/Cancel box counts as Cancel.
    void realBoxClosedCountsAsCancel()
    {
        Platform::setMessagePresenter({});
        QTimer::singleShot(50, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        QCOMPARE(askSaveChanges(1), QMessageBox::Cancel);
        doubles().install();
    }
};

ORVANE_TEST(MessageCatalogueTest)
#include "MessageCatalogueTest.moc"
