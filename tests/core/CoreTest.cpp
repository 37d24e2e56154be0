#include "support/Columns.h"
#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "core/Artwork.h"
#include "core/FixedFont.h"
#include "core/MessageCatalogue.h"
#include "core/WavData.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>
#include <QTimer>

class CoreTest : public QObject
{
    Q_OBJECT
private slots:
    // Every numbered error (code > 0) and file error (code < 0) shows its text (title, icon,
    // OK); a file error then ends the program, an unknown code too, after an empty box.
    void everyError()
    {
        QList<std::pair<int, QString>> rows = {
            {1, "Error #201:  Selected Serial Port will not open"}, {2, "Error #202:  Serial Connection Not Established"},
            {3, " Error, No Transmitter Location Selected. "}, {4, " Error, No FIP Counties have been Selected. "},
            {5, " Error, More than 24 FIP codes selected. "}, {10, "Error #301:  No History Data to Print. "},
            {11, "Error #302:  Print Spooling Error. "}, {12, "Error #303:  No History Data to Save. "},
            {50, "Error #500:  Could not load your Web Browser. "}, {6, ""}, {60, ""}, {-14, ""}, {-42, ""}, {0, ""},
            {-1, "Error #101:  Missing Orvane Digital Weather Receiver Parameter File"},
            {-99, "Error #199:  Missing or Corrupted Orvane Data File, Please Consult Factory"}};
        const QStringList missing = QStringLiteral("FIP Codes|Event Codes|Flag Parameters|Timer Parameters|State Parameters|"
            "Transmitter Location Parameter|Frequency Limit Parameter|Rear Connector Input Parameters|Rear Connector Output "
            "Parameters|Voice Interval Parameters|Relay Delay Parameter|Station Identification Parameter").split(u'|');
        for (int code = 2; code <= 13; ++code) // "Error #102:  Missing or Corrupted Orvane FIP Codes" and on
            rows.append({-code, QStringLiteral("Error #1%1:  Missing or Corrupted Orvane %2").arg(code, 2, 10, QChar(u'0')).arg(missing[code - 2])});
        for (const auto &[code, text] : rows) {
            doubles().clear();
            code > 0 ? showErrorMessage(qint16(code)) : showFileError(qint16(-code)); // 0: an unknown file error
            QVERIFY2(shownBoxes() == QStringList{box(text)} && doubles().programEnds == (code > 0 ? 0 : 1) &&
                         (code > 0 || fileErrorText(qint16(-code)) == text), qPrintable(text));
        }
        doubles().clear();
    }

    void questions()
    {
        doubles().answerNext(QMessageBox::Cancel);
        QCOMPARE(confirmPrintReport(), QMessageBox::Cancel);
        doubles().answerNext(QMessageBox::No);
        QCOMPARE(confirmExitWithoutCounties(1), QMessageBox::No);
        confirmExitWithoutCounties(2);
        for (int kind : {1, 2, 3})
            askSaveChanges(kind);
        const QString save = QStringLiteral(" Do you want to save any changes? ");
        QCOMPARE(shownBoxes(), (QStringList{box("Proceed To Dispatch History Report To Printer", QMessageBox::Question,
                                                QMessageBox::Ok | QMessageBox::Cancel, "Print Orvane Event History"),
                                            box(" Error, No FIP Counties have been Selected\r\n Do you still want to Exit?",
                                                QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No),
                                            box("", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No),
                                            box(save, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                                            box(save, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No),
                                            box(save, QMessageBox::NoIcon, QMessageBox::Ok)}));
        // The real presenter: closing a Yes/No/Cancel box counts as Cancel.
        Platform::setMessagePresenter({});
        QTimer::singleShot(50, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        QCOMPARE(askSaveChanges(1), QMessageBox::Cancel);
        doubles().install();
    }

    // The fixed columns' font: the preferred one when every printable character takes one
    // advance, else a family in which they do (the system's fixed font too), at the size asked.
    void fixedColumnFont()
    {
        QString printable;
        for (char16_t c = 32; c < 127; ++c)
            printable += QChar(c);
        QCOMPARE(unevenCharacters(::fixedColumnFont(), printable), QString());
        for (const auto &[family, kept] : {std::pair{"DejaVu Sans Mono", true}, std::pair{"DejaVu Sans", false}}) {
            const QFont font = ::fixedColumnFont(QFont(QString::fromLatin1(family), 13));
            QVERIFY2(unevenCharacters(font, printable).isEmpty() && font.pointSize() == 13, family);
            QVERIFY2((QFontInfo(font).family() == QLatin1String(family)) == kept, family);
        }
    }

    // A block of odd size is followed by a pad byte: the blocks after it are still found.
    void wavBlockAfterAnOddOne()
    {
        const QByteArray format = QByteArray::fromHex("666d7420" "10000000" "0100" "0100" "401f0000" "803e0000" "0200" "1000");
        const QByteArray wav = "RIFF" + QByteArray(4, '\0') + "WAVE" + format + "LIST" + QByteArray::fromHex("03000000") + "abc" + '\0' +
                               "data" + QByteArray::fromHex("020000000102");
        const PcmWav pcm = parsePcmWav(wav);
        QVERIFY(pcm.valid && pcm.sampleRate == 8000 && pcm.samples == QByteArray::fromHex("0102"));
    }

    // The program's icon at every size asked for, nothing drawn on the canvas's edge (the
    // waves above the antenna are whole).
    void programIconFitsItsCanvas()
    {
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage icon = programIcon(size).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(icon.size(), QSize(size, size));
            for (int i = 0; i < 4 * size; ++i) {
                const QPoint at = i < 2 * size ? QPoint(i % size, i < size ? 0 : size - 1) : QPoint(i < 3 * size ? 0 : size - 1, i % size);
                QVERIFY2(qAlpha(icon.pixel(at)) == 0, qPrintable(QStringLiteral("%1: drawn at %2,%3").arg(size).arg(at.x()).arg(at.y())));
            }
        }
    }
};

ORVANE_TEST(CoreTest)
#include "CoreTest.moc"
