#include "support/TestRegistry.h"

#include "app/CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

// The built program, started as a child with no display at all: --help, --version and a
// wrong option must be answered without ever reaching the window system.
class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("inStdout");
        QTest::addColumn<QStringList>("inStderr");
        const QStringList options{"-h, --help", "-v, --version"};
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringList{"orvane-editor 1.05\n"}
                                   << QStringList{};
        QTest::newRow("-v") << QStringList{"-v"} << 0 << QStringList{"orvane-editor 1.05\n"} << QStringList{};
        QTest::newRow("--help") << QStringList{"--help"} << 0
                                << (options + QStringList{"Usage: orvane-editor [options]", "Orvane Editor 1.05"})
                                << QStringList{};
        QTest::newRow("-h") << QStringList{"-h"} << 0 << options << QStringList{};
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << QStringList{}
                                        << QStringList{"Unknown option 'frobnicate'.", "--help"};
        QTest::newRow("unknown short option") << QStringList{"-x"} << 2 << QStringList{}
                                              << QStringList{"Unknown option 'x'."};
        QTest::newRow("a file name") << QStringList{"settings.conf"} << 2 << QStringList{}
                                     << QStringList{"Unexpected argument 'settings.conf'."};
        QTest::newRow("option with a missing value") << QStringList{"-platform"} << 2 << QStringList{}
                                                     << QStringList{"Missing value after '-platform'."};
    }

    void answersWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, inStdout);
        QFETCH(QStringList, inStderr);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ORVANE_EDITOR_BINARY), arguments);
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            QFAIL("the program did not end by itself");
        }
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == exitCode, qPrintable(err));
        for (const QString &text : inStdout)
            QVERIFY2(out.contains(text), qPrintable(out));
        for (const QString &text : inStderr)
            QVERIFY2(err.contains(text), qPrintable(err));
        if (exitCode == 0)
            QVERIFY2(err.isEmpty(), qPrintable(err));
        else
            QVERIFY2(out.isEmpty(), qPrintable(out));
        // Nothing of the window system was touched.
        QVERIFY2(!err.contains(QLatin1String("qt.qpa")) && !err.contains(QLatin1String("display")), qPrintable(err));
    }

    // Without options, and with Qt's own options, the editor starts as before.
    void startsTheEditor_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no options") << QStringList{"orvane-editor"};
        QTest::newRow("Qt's platform option") << QStringList{"orvane-editor", "-platform", "offscreen"};
        QTest::newRow("Qt's style option") << QStringList{"orvane-editor", "-style=fusion"};
        QTest::newRow("Qt's reverse flag") << QStringList{"orvane-editor", "-reverse"};
    }

    void startsTheEditor()
    {
        QFETCH(QStringList, arguments);
        const CommandLineOutcome outcome = interpretCommandLine(arguments);
        QVERIFY2(outcome.startEditor, qPrintable(outcome.standardError));
        QVERIFY(outcome.standardOutput.isEmpty());
        QVERIFY(outcome.standardError.isEmpty());
    }
};

ORVANE_TEST(CommandLineTest)
#include "CommandLineTest.moc"
