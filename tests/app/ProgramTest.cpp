// The program as a whole: its command line (through the built program too), its desktop
// metadata (through the desktop's validators), its start-up and its main window.
#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/Processes.h"
#include "support/Rows.h"
#include "support/TestRegistry.h"

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "config/ParameterFile.h"
#include "config/SettingsStore.h"
#include "link/frmTest.h"

#include <QtWidgets>
#include <ctime>
#include <memory>

// --help and --version answer on standard output, a wrong option on standard error with exit
// code 2, never on both; the built program, started with no display at all, answers so without
// ever reaching the window system. Without options, and with Qt's own options, the editor starts.
class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void answersWithoutDisplay()
    {
        const QStringList options{"-h, --help", "-v, --version"}, version{"orvane-editor 1.05\n"};
        const struct { QStringList arguments; int exitCode; QStringList texts; } rows[] = {
            {{"--version"}, 0, version}, {{"-v"}, 0, version}, {{"-h"}, 0, options},
            {{"--help"}, 0, options + QStringList{"Usage: orvane-editor [options]", "Orvane Editor 1.05"}},
            {{"--frobnicate"}, 2, {"Unknown option 'frobnicate'.", "--help"}}, {{"-x"}, 2, {"Unknown option 'x'."}},
            {{"a.orvcfg", "b.orvcfg"}, 2, {"Unexpected argument 'b.orvcfg'."}}, {{"-platform"}, 2, {"Missing value after '-platform'."}}};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QString::fromLatin1(name));
        for (const auto &r : rows) {
            const CommandLineOutcome outcome = interpretCommandLine(QStringList{"orvane-editor"} + r.arguments);
            const ProgramRun run = runProgram(QStringLiteral(ORVANE_EDITOR_BINARY), r.arguments, 30000, env);
            const QString both = QString::fromLocal8Bit(run.output), where = r.arguments.join(u' ') + QStringLiteral(": ") + both;
            QVERIFY2(!outcome.startEditor && outcome.exitCode == r.exitCode && run.finished && !run.crashed && run.exitCode == r.exitCode &&
                         (r.exitCode ? outcome.standardOutput : outcome.standardError).isEmpty() &&
                         !(r.exitCode ? outcome.standardError : outcome.standardOutput).isEmpty() && !both.contains(QLatin1String("qt.qpa")) &&
                         !both.contains(QLatin1String("display")), qPrintable(where));
            for (const QString &text : r.texts) QVERIFY2(both.contains(text), qPrintable(where + text));
        }
        for (const QStringList &qtOptions : {QStringList{}, {"-platform", "offscreen"}, {"-style=fusion"}, {"-reverse"}}) {
            const CommandLineOutcome outcome = interpretCommandLine(QStringList{"orvane-editor"} + qtOptions);
            QVERIFY2(outcome.startEditor && outcome.standardOutput.isEmpty() && outcome.standardError.isEmpty(), qPrintable(qtOptions.join(u' ')));
        }
    }

    // The desktop entry and the AppStream metainfo in packaging/: clean for the desktop's own
    // tools (desktop-file-validate's "hint:" lines are suggestions), under the program's one
    // application id and, with the manual page, its one version.
    void desktopMetadata()
    {
        const auto text = [](const QString &name) { return QString::fromUtf8(fileBytes(QStringLiteral(ORVANE_TEST_SOURCE_DIR "/packaging/") + name)); };
        const QString desktop = kApplicationId + ".desktop", meta = kApplicationId + ".metainfo.xml", packaging = ORVANE_TEST_SOURCE_DIR "/packaging/";
        static const QRegularExpression complaint(QStringLiteral("(error|warning):|^[EW]: "), QRegularExpression::MultilineOption);
        for (const auto &[tool, arguments] : {std::pair{QStringLiteral("desktop-file-validate"), QStringList{packaging + desktop}},
                                              std::pair{QStringLiteral("appstreamcli"), QStringList{"validate", "--no-net", packaging + meta}}}) {
            const QString program = QStandardPaths::findExecutable(tool);
            if (program.isEmpty()) QSKIP(qPrintable(tool + QStringLiteral(" is not installed (see ORVANE_TEST_PACKAGES in scripts/packages.sh)")));
            const ProgramRun run = runProgram(program, arguments, 60000);
            QVERIFY2(run.succeeded() && !QString::fromUtf8(run.output).contains(complaint), qPrintable(tool + u' ' + QString::fromUtf8(run.output)));
        }
        QVERIFY(text(desktop).contains("\nIcon=" + kApplicationId + "\n") && text(desktop).contains("\nExec=orvane-editor %f\n") &&
                text(desktop).contains("\nMimeType=application/x-orvane-configuration;\n"));
        QVERIFY(text(meta).contains("<id>" + kApplicationId + "</id>") && text(meta).contains("\">" + desktop + "</launchable>") &&
                text(meta).contains("<release version=\"" + editorVersion() + "\""));
        QVERIFY(text(QStringLiteral("orvane-editor.1")).contains("\"Orvane Editor " + editorVersion() + "\""));
    }
};

ORVANE_TEST(CommandLineTest)

class StartupTest : public QObject
{
    Q_OBJECT
    struct Start { const char *name; qint64 start, loaded; QList<int> waits; };

private slots:
    void init() { freshState(); }

    // Settings before the version override, the parameter file just before the county windows.
    // The daylight flag says what the C library says of this moment, in both hemispheres; in UTC false.
    void loadingStepsInOrder()
    {
        QStringList names;
        for (const StartupStep &step : startupLoadingSteps()) names << step.name;
        QCOMPARE(names, QStringList({"notePcDaylightState", "loadSettings", "initEventTable", "setEditorVersion",
                                     "readParameterFile", "initStateSelection", "fillFipsListBox"}));
        const QByteArray savedTz = qgetenv("TZ");
        const auto restore = qScopeGuard([&] { savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz), tzset(); });
        for (const char *zone : {"America/New_York", "Australia/Sydney", "XST5XDT,J1/0,J365/25", "UTC"}) {
            qputenv("TZ", zone), tzset();
            const time_t now = time(nullptr);
            tm local{};
            localtime_r(&now, &local);
            PcDaylightActive = qstrcmp(zone, "UTC") != 0 && local.tm_isdst <= 0; // the wrong way round, or false in UTC
            notePcDaylightState();
            QVERIFY2(PcDaylightActive == (local.tm_isdst > 0), zone);
        }
    }

    // The splash, with the current version, stays until two seconds after the start on a
    // monotonic clock: loading in 300 ms leaves a wait of 1700 ms; a slow start, or a clock
    // reading earlier than the start, closes it at once. Then the main window, with the settings.
    void splash_data()
    {
        addRows<Start>({{"loading 300 ms", 5000, 5300, {1700}}, {"loading 2.6 s", 0, 2600, {}}, {"clock before the start", 86'399'000, 1'000, {}}});
    }
    void splash()
    {
        QFETCH(Start, row);
        putSetting("EDITOR/EditorVersion", "1.00"), putSetting("EDITOR/UserStationID", "WXK99");
        QStringList shown; // the windows shown while start-up waits on the splash, and its text
        Platform::setEventWaiter([&](int ms) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (QLabel *text = w->findChild<QLabel *>("Label1"); w->isVisible()) shown << w->objectName() + (text ? ": " + text->text() : "");
            doubles().waits << ms, doubles().monotonic += ms;
        });
        int calls = 0;
        Platform::setMonotonicClock([&] { return ++calls == 1 ? row.start : doubles().monotonic; });
        doubles().monotonic = row.loaded;
        std::unique_ptr<frmMain> main(startup());
        QCOMPARE(doubles().waits, row.waits);
        QCOMPARE(shown, row.waits.isEmpty() ? QStringList() : QStringList{"frmSplash: Orvane Editor version = 1.05"});
        QVERIFY(main->isVisible() && ReceiverConfig.EDITOR.UserStationID == QLatin1String("WXK99") && ReceiverConfig.EDITOR.EditorVersion == u"1.05");
        for (QWidget *w : QApplication::topLevelWidgets()) QVERIFY(w->objectName() != QLatin1String("frmSplash") || !w->isVisible());
    }
};

ORVANE_TEST(StartupTest)

class MainWindowTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<frmMain> main;
    enum Way { ExitMenu, ExitNoSaveMenu, ExitButton, CloseBox };
    struct Exit { const char *name; Way way; QMessageBox::StandardButton answer; bool ends, saves; };

private slots:
    void init() { freshState(); }
    void cleanup() { main.reset(); }

    // The window as loaded, captions, pictures, menus; the test packet window opens modally.
    // Activation puts back the pictures, clears panel 2 and the hourglass.
    void asLoaded()
    {
        main = std::make_unique<frmMain>(), main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QCOMPARE(main->windowTitle(), QStringLiteral("Orvane Digital Weather Receiver"));
        const QStringList captions = {"Orvane Setup", "Select FIP Codes", "Select Event Codes", "Options", "Timers",
                                      "Identification", "Transfer Data Between PC and Orvane", "Download Orvane Programmed Parameters",
                                      "Print History Report", "Display Help", "Exit"};
        for (int k = 0; k < frmMain::kCommandCount; ++k)
            QVERIFY(main->cmdMain[k]->text() == captions[k] && main->cmdMain[k]->isEnabled() == frmMain::commandAvailable(k));
        QVERIFY(!main->findChild<QAction *>("mnuSaveAs")->isEnabled() && !main->mnuView->menuAction()->isEnabled() &&
                main->findChild<QAction *>("mnuExit")->isEnabled() && main->findChild<QAction *>("mnuExitNoSave")->isEnabled());
        QVERIFY(main->mnuHistory[1]->text() == QStringLiteral("View History Group    1 - 20") && main->prgXfer->isHidden() &&
                main->mnuHistory[2]->text() == QStringLiteral("View History Group  21 - 40"));
        QStringList items;
        for (QAction *a : main->mnuHelp->actions()) items << (a->isSeparator() ? a->objectName() : a->text());
        QCOMPARE(items, QStringList({"&Help Contents", "&Search For Help On...", "mnuSep1", "&Brennick on the Web", "mnuSep2",
                                     "Show Tip at startup", "mnuSep4", "&Play Test Packets...", "mnuSep3", "&About"}));
        bool seen = false;
        whenModalOpens<frmTest>([&seen](frmTest *window) {
            seen = window->windowTitle() == QStringLiteral("Orvane SAME Packet Test") && window->isModal() && window->isVisible();
            window->cmdOk->click();
        });
        main->findChild<QAction *>(QStringLiteral("mnuTest"))->trigger();
        QVERIFY(seen);

        QWidget other;
        other.show(), other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other) && !main->isActiveWindow());
        main->setCursor(Qt::WaitCursor), main->setStatusPanelText(2, QStringLiteral("1.03"));
        for (QPushButton *button : main->cmdMain) button->setIcon(QIcon());
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()) && main->cursor().shape() == Qt::ArrowCursor && main->statusPanelText(2).isEmpty());
        for (int n = 1; n <= frmMain::kCommandCount; ++n) {
            const QImage wanted = frmMain::ImageList1(n).toImage().convertToFormat(QImage::Format_ARGB32);
            QVERIFY(!wanted.isNull() && main->cmdMain[n - 1]->icon().pixmap(wanted.size()).toImage().convertToFormat(QImage::Format_ARGB32) == wanted);
        }
    }

    // "Exit" asks Yes, No, Cancel; "Exit without saving" does not save; the "Exit" button and
    // the close box save unasked. A way that does not save leaves both files byte for byte.
    void exitPaths_data()
    {
        addRows<Exit>({{"Exit, Yes", ExitMenu, QMessageBox::Yes, true, true}, {"Exit, No", ExitMenu, QMessageBox::No, true, false},
                       {"Exit, Cancel stays", ExitMenu, QMessageBox::Cancel, false, false},
                       {"Exit without saving", ExitNoSaveMenu, QMessageBox::NoButton, true, false},
                       {"Exit button", ExitButton, QMessageBox::NoButton, true, true}, {"close box", CloseBox, QMessageBox::NoButton, true, true}});
    }
    void exitPaths()
    {
        QFETCH(Exit, row);
        loadDefaultLists();
        QVERIFY(writeParameterFile());
        const QByteArray listsBefore = fileBytes(kParameterFileName);
        loadSettings(); // a run as after start-up: settings loaded and saved once, the window shown
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("STORED");
        saveSettings();
        main = std::make_unique<frmMain>(), main->show();
        const QByteArray before = fileBytes(settingsFilePath());
        ReceiverConfig.EDITOR.UserStationID = QStringLiteral("CHANGED");
        FipsList[1] = QStringLiteral("  012085  Martin                 Florida"), EventList[20] = QStringLiteral("EWW");
        const QByteArray listsEdited = parameterFileContent();
        doubles().answerNext(row.answer);
        const std::function<void()> ways[] = {[&] { main->mnuExit->trigger(); }, [&] { main->mnuExitNoSave->trigger(); },
                                              [&] { QTest::mouseClick(main->cmdMain[10], Qt::LeftButton); }, [&] { main->close(); }};
        ways[row.way]();
        QCOMPARE(shownBoxes(), row.way == ExitMenu ? QStringList{box(" Do you want to save any changes? ", QMessageBox::Question,
                                                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)}
                                                   : QStringList());
        QVERIFY((doubles().programEnds > 0) == row.ends && main->isVisible() != row.ends && !before.isEmpty());
        QVERIFY(row.way >= ExitButton ? doubles().programEnds == 1 : main->ExitInProgress == row.ends);
        QVERIFY(fileBytes(settingsFilePath()).contains("UserStationID=CHANGED") == row.saves && (row.saves || fileBytes(settingsFilePath()) == before));
        QCOMPARE(fileBytes(kParameterFileName), row.saves ? listsEdited : listsBefore);
    }
};

ORVANE_TEST(MainWindowTest)
#include "ProgramTest.moc"
