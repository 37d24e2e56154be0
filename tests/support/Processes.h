#pragma once
// Running another program from a test: always with a bound, output and errors merged.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

struct ProgramRun {
    bool started = false;  // the program could be started
    bool finished = false; // it ended on its own within the bound (else it was killed)
    bool crashed = false;  // it ended by a signal
    int exitCode = -1;
    QByteArray output;     // standard output and standard error, merged

    bool succeeded() const { return finished && !crashed && exitCode == 0; }
};

// Runs program with args, writes input to its standard input and closes it, and kills the
// program when it has not ended after timeoutMs.
ProgramRun runProgram(const QString &program, const QStringList &args, int timeoutMs,
                      const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                      const QByteArray &input = {});
