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
        // Codes that no part of the program raises today still show their texts.
        QTest::newRow("4") << 4 << " Error, No FIP Counties have been Selected. ";
        QTest::newRow("11") << 11 << "Error #302:  Print Spooling Error. ";
        QTest::newRow("unknown 6") << 6 << "";
        QTest::newRow("unknown 60") << 60 << "";
    }
    void numberedErrors()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        showErrorMessage(qint16(code));
        QCOMPARE(shownBoxes(), QStringList{box(text)});
        QCOMPARE(doubles().programEnds, 0);
    }

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
        QTest::newRow("unknown 42") << 42 << "";
    }
    void everyFileError()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        showFileError(qint16(code));
        QCOMPARE(shownBoxes(), QStringList{box(text)});
        QCOMPARE(doubles().programEnds, 1); // an unknown code too: an empty box, then the end
        QCOMPARE(fileErrorText(qint16(code)), text);
    }

    void questions()
    {
        doubles().answerNext(QMessageBox::Cancel);
        QCOMPARE(confirmPrintReport(), QMessageBox::Cancel);
        doubles().answerNext(QMessageBox::No);
        QCOMPARE(confirmExitWithoutCounties(1), QMessageBox::No);
        confirmExitWithoutCounties(2);
        askSaveChanges(1);
        askSaveChanges(2);
        askSaveChanges(3);
        QCOMPARE(shownBoxes(),
                 (QStringList{box("Proceed To Dispatch History Report To Printer", QMessageBox::Question,
                                  QMessageBox::Ok | QMessageBox::Cancel, "Print Orvane Event History"),
                              box(" Error, No FIP Counties have been Selected\r\n Do you still want to Exit?",
                                  QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No),
                              box("", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No),
                              box(" Do you want to save any changes? ", QMessageBox::Question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                              box(" Do you want to save any changes? ", QMessageBox::Question,
                                  QMessageBox::Yes | QMessageBox::No),
                              box(" Do you want to save any changes? ", QMessageBox::NoIcon, QMessageBox::Ok)}));
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
