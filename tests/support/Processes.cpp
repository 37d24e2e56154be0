#include "support/Processes.h"

#include <QProcess>

ProgramRun runProgram(const QString &program, const QStringList &args, int timeoutMs,
                      const QProcessEnvironment &env, const QByteArray &input)
{
    ProgramRun run;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    run.started = process.waitForStarted(timeoutMs);
    if (!run.started)
        return run;
    process.write(input);
    process.closeWriteChannel();
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(1000);
    }
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.exitCode = process.exitCode();
    run.output = process.readAll();
    return run;
}
