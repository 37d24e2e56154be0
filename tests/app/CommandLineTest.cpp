#include "support/Processes.h"
#include "support/TestRegistry.h"

#include "app/CommandLine.h"

#include <QTest>

// --help and --version answer on standard output, a wrong option on standard error with exit
// code 2; the built program, started with no display at all, answers so without ever reaching
// the window system. Without options, and with Qt's own options, the editor starts.
class CommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void answersWithoutDisplay()
    {
        const QStringList options{"-h, --help", "-v, --version"}, version{"orvane-editor 1.05\n"};
        const struct { QStringList arguments; int exitCode; QStringList out, err; } rows[] = {
            {{"--version"}, 0, version, {}}, {{"-v"}, 0, version, {}}, {{"-h"}, 0, options, {}},
            {{"--help"}, 0, options + QStringList{"Usage: orvane-editor [options]", "Orvane Editor 1.05"}, {}},
            {{"--frobnicate"}, 2, {}, {"Unknown option 'frobnicate'.", "--help"}}, {{"-x"}, 2, {}, {"Unknown option 'x'."}},
            {{"settings.conf"}, 2, {}, {"Unexpected argument 'settings.conf'."}},
            {{"-platform"}, 2, {}, {"Missing value after '-platform'."}}};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        for (const auto &r : rows) {
            const CommandLineOutcome outcome = interpretCommandLine(QStringList{"orvane-editor"} + r.arguments);
            const ProgramRun run = runProgram(QStringLiteral(ORVANE_EDITOR_BINARY), r.arguments, 30000, env);
            const QString out = outcome.standardOutput, err = outcome.standardError, both = QString::fromLocal8Bit(run.output);
            const QString where = r.arguments.join(u' ') + QStringLiteral(": ") + both;
            QVERIFY2(!outcome.startEditor && outcome.exitCode == r.exitCode && run.finished && !run.crashed &&
                         run.exitCode == r.exitCode, qPrintable(where));
            // The answer on standard output, a complaint on standard error, never both.
            QVERIFY2(r.exitCode == 0 ? err.isEmpty() && !out.isEmpty() : out.isEmpty() && !err.isEmpty(), qPrintable(where));
            for (const QString &text : r.out + r.err)
                QVERIFY2(both.contains(text), qPrintable(where + text));
            QVERIFY2(!both.contains(QLatin1String("qt.qpa")) && !both.contains(QLatin1String("display")), qPrintable(where));
        }
        for (const QStringList &qtOptions : {QStringList{}, {"-platform", "offscreen"}, {"-style=fusion"}, {"-reverse"}}) {
            const CommandLineOutcome outcome = interpretCommandLine(QStringList{"orvane-editor"} + qtOptions);
            QVERIFY2(outcome.startEditor && outcome.standardOutput.isEmpty() && outcome.standardError.isEmpty(),
                     qPrintable(qtOptions.join(u' ') + outcome.standardError));
        }
    }
};

ORVANE_TEST(CommandLineTest)
#include "CommandLineTest.moc"
