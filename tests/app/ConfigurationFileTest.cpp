#include "config/ConfigTestSupport.h"
#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "app/CommandLine.h"
#include "app/ConfigurationCommands.h"
#include "app/frmMain.h"
#include "config/ConfigurationFile.h"
#include "config/SettingsStore.h"
#include "selection/StateDatabase.h"
#include "selection/frmEnterFIP.h"
#include "selection/frmFIPS.h"

#include <QtWidgets>

namespace {

// Every field of the record off its default and both lists with gaps: what a round trip
// must bring back whole.
void fillEveryField()
{
    int n = 0;
    for (const auto &[key, text] : settingsTexts(ReceiverConfig)) {
        ++n;
        QString value = text == u"True" ? QStringLiteral("False") : text == u"False" ? QStringLiteral("True") : QString::number(n % 7);
        if (key.endsWith(u"Location") || key.endsWith(u"Directory") || key.endsWith(u"Version"))
            value = QStringLiteral(" Zürich %1 = x").arg(n); // blanks, "=" and letters beyond ASCII survive
        QCOMPARE(setSettingFromText(ReceiverConfig, key, key == u"EDITOR/EditorVersion" ? editorVersion() : value), SettingAssignment::Set);
    }
    ReceiverConfig.EDITOR.StateID = 12;
    ReceiverConfig.EDITOR.UserStationID = QStringLiteral("KEC83");
    FipsList.fill({}), EventList.fill({});
    FipsList[0] = QStringLiteral("X 017031  Cook                   Illinois");
    FipsList[5] = QStringLiteral("  017043  Du Page                Illinois");
    FipsList[98] = QStringLiteral("X 099999                         ");
    EventList[0] = QStringLiteral("TOR"), EventList[48] = QStringLiteral("SVR");
}
QByteArray wholeConfiguration() { return configurationFileText(currentConfiguration()); }

struct RefusedFile { const char *name; std::function<QByteArray(QByteArray)> damage; int line; const char *why; };

} // namespace

// Saving and opening a whole configuration through the File menu, and refusing every file
// that is not one, with nothing changed.
class ConfigurationFileTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmMain> main;

    void saveThroughMenu(const QString &answer)
    {
        Platform::SaveDialogRequest asked;
        Platform::setSaveDialog([&](const Platform::SaveDialogRequest &r) { return asked = r, answer; });
        main->mnuSaveConfiguration->trigger();
        QVERIFY(asked.nameFilter == QStringLiteral("Orvane Configuration (*.orvcfg)") && asked.confirmOverwrite && asked.defaultSuffix == u"orvcfg");
    }
    void openThroughMenu(const QString &answer)
    {
        Platform::setOpenDialog([answer](const Platform::SaveDialogRequest &) { return answer; });
        main->mnuOpenConfiguration->trigger();
    }

private slots:
    void init()
    {
        freshHome(), doubles().clear();
        setStatesDirectory(sourceDir() + QStringLiteral("/data/States"));
        main = std::make_unique<frmMain>();
        clearReceiverConfig(), fillEveryField(), initStateSelection(), fillFipsListBox();
    }
    void cleanup() { main.reset(); }

    void roundTripThroughTheMenus()
    {
        const QByteArray before = wholeConfiguration();
        saveThroughMenu(QDir::current().filePath(QStringLiteral("backup"))); // the suffix is added
        const QString path = QDir::current().filePath(QStringLiteral("backup.orvcfg"));
        const QByteArray written = fileBytes(path);
        QCOMPARE(written, before);
        QVERIFY(written.startsWith("Orvane Configuration File\nFormatVersion=1\nEDITOR/SerialPort=") && written.endsWith("EventList/48=SVR\nEnd\n"));

        clearReceiverConfig(); // another machine: nothing of this configuration
        ReceiverConfig.EDITOR.EditorVersion = editorVersion();
        initStateSelection(), fillFipsListBox();
        openThroughMenu(path);
        QVERIFY2(doubles().messages.isEmpty(), qPrintable(doubles().lastMessageText()));
        QCOMPARE(wholeConfiguration(), before);
        // The windows show what was opened, and the store and the parameter file are untouched.
        QVERIFY(frmEnterFIP::instance()->cmbState->currentText() == u"Illinois" && frmFIPS::instance()->lblState->text() == u"Illinois");
        QCOMPARE(frmFIPS::instance()->lstFips->count(), 3);
        QVERIFY(!QFile::exists(settingsFilePath()) && !QFile::exists(QStringLiteral("ORVANE_FILE2.DAT")));
        saveThroughMenu(path); // saved again: the same bytes
        QCOMPARE(fileBytes(path), written);
    }

    void refusedFiles_data()
    {
        auto replace = [](const char *from, const char *to) { return [from, to](QByteArray t) { return t.replace(from, to); }; };
        auto whole = [](const char *bytes) { return [bytes](QByteArray) { return QByteArray(bytes); }; };
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("why");
        QTest::addColumn<QByteArray>("bytes");
        clearReceiverConfig(), fillEveryField(); // the rows are made before init() runs
        const QByteArray good = wholeConfiguration();
        // line 0: the line of the first difference from the good file (none for the whole-file errors); -1 the last line.
        for (const RefusedFile &r : std::initializer_list<RefusedFile>{
                 {"foreign", whole("[Desktop Entry]\nName=x\n"), 1,
                  "This is not an Orvane configuration file (it does not begin with \"Orvane Configuration File\")."},
                 {"empty", whole(""), 1, "This is not an Orvane configuration file"},
                 {"newer version", replace("FormatVersion=1", "FormatVersion=2"), 2, "The file has format version \"2\"; this editor reads version 1."},
                 {"truncated", [](QByteArray t) { return t.left(t.indexOf("FipsList/5")); }, -1, "The file ends early: its end line is missing."},
                 {"key missing", replace("TIMERS/RelayDelayTimer=", "TIMERS/RelayDelay="), 0, "TIMERS/RelayDelay is not a setting"},
                 {"bad flag", replace("NV8008/AcceptAllFips=True", "NV8008/AcceptAllFips=Yes"), 0, "\"Yes\" is not a valid value for NV8008/AcceptAllFips."},
                 {"number out of range", replace("EDITOR/SerialPort=", "EDITOR/SerialPort=40000"), 0, "\"400001\" is not a valid value for EDITOR/SerialPort."},
                 {"twice", replace("EventList/0=TOR", "EventList/0=TOR\nEventList/0=SVR"), 0, "EventList/0 is given twice."},
                 {"county slot 99", replace("FipsList/98=", "FipsList/99="), 0, "FipsList/99 is not a county slot (0 to 98)."},
                 {"event slot 49", replace("EventList/48=", "EventList/49="), 0, "EventList/49 is not an event slot (0 to 48)."},
                 {"no equals sign", replace("EventList/0=TOR", "EventList/0 TOR"), 0, "The line is not of the form Name=value."},
                 {"text after the end", [](QByteArray t) { return t + "EventList/1=FFW\n"; }, -1, "There is text after the end line."},
                 {"control character", replace("=KEC83", "=KEC\t83"), 0, "The value of EDITOR/UserStationID holds a control character."},
                 {"setting left out", replace("TIMERS/PreVoiceAnnc=", "EventList/7="), -1, "TIMERS/PreVoiceAnnc is missing."},
                 {"not text", replace("Zürich", "Z\xFC" "rich"), 0, "The file is not a text file."},
                 {"too large", [](QByteArray t) { return t + QByteArray(kConfigurationFileMaxBytes, 'x'); }, 0,
                  "The file is too large to be an Orvane configuration."}}) {
            const QByteArray bytes = r.damage(good);
            int line = r.line < 0 ? int(bytes.count('\n')) : r.line;
            for (int i = 0, nl = 0; line == 0 && !QByteArray(r.why).startsWith("The file is") && i < bytes.size(); nl += bytes[i++] == '\n')
                if (i >= good.size() || bytes[i] != good[i]) line = nl + 1;
            QTest::newRow(r.name) << line << QString::fromUtf8(r.why) << bytes;
        }
    }
    void refusedFiles()
    {
        QFETCH(int, line);
        QFETCH(QString, why);
        QFETCH(QByteArray, bytes);
        const QString path = QDir::current().filePath(QStringLiteral("damaged.orvcfg"));
        writeFileBytes(path, bytes);
        const QByteArray before = wholeConfiguration();
        openThroughMenu(path);
        QCOMPARE(wholeConfiguration(), before);
        QCOMPARE(doubles().messages.size(), 1);
        const QString text = doubles().lastMessageText(), where = line > 0 ? QStringLiteral("Line %1: ").arg(line) : QString();
        QVERIFY2(text.startsWith(QStringLiteral("The configuration file %1 cannot be opened.\n\n%2%3").arg(QDir::toNativeSeparators(path), where, why)) &&
                     text.endsWith(u"\n\nNothing was changed."), qPrintable(text));
    }
};
ORVANE_TEST(ConfigurationFileTest)

#include "ConfigurationFileTest.moc"
