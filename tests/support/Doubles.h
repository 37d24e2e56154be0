#pragma once
// Recording doubles for the platform seams, installed fresh for every test class.

#include "core/Platform.h"

#include <QDir>
#include <QList>
#include <QString>
#include <deque>

struct Doubles {
    // Message boxes: every request is recorded; answers are taken from the queue, and
    // without a queued answer the first button of the box is pressed (OK, Yes).
    QList<MessageRequest> messages;
    std::deque<QMessageBox::StandardButton> answers;
    int beeps = 0;
    int programEnds = 0;

    // Clocks: a fixed wall clock and a monotonic clock that only moves when a test (or a
    // wait through the event-wait seam) moves it.
    QDateTime wallClock = QDateTime(QDate(2026, 6, 15), QTime(12, 0, 0));
    qint64 monotonic = 0;
    QList<int> waits;

    // Browser and help viewer: what was asked of them; the browser starts when browserStarts.
    QList<QUrl> openedUrls;
    bool browserStarts = true;
    QList<HelpRequest> helpRequests;
    // Sound and pause: each clip is recorded and "plays" at once, moving the monotonic clock
    // by its length; each pause is recorded and moves it by its length.
    QList<QByteArray> sounds;
    int soundStops = 0;
    QList<int> sleeps;

    void install();
    void clear(); // forgets what was recorded and reinstalls every double
    void answerNext(QMessageBox::StandardButton button) { answers.push_back(button); }
    QString lastMessageText() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

// The doubles in force for the running test class.
Doubles &doubles();

// A message box as one line, "title | text | icon | buttons", so that a test compares whole
// boxes: shownBox for one that was shown, box for the one expected (a warning with OK and the
// program's title unless told otherwise), shownBoxes for all shown so far.
QString shownBox(const MessageRequest &m);
QString box(const QString &text, QMessageBox::Icon icon = QMessageBox::Warning,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            const QString &title = QStringLiteral("Orvane Digital Weather Receiver"));
QStringList shownBoxes();

// A fresh temporary directory made the current directory and the home of the settings
// store; returns its path. Called before each test class, and by tests that need a clean slate.
QString freshHome();
// The settings store file inside the current home.
QString settingsFilePath();
// Where the source tree is (for committed data such as the state files).
QString sourceDir();
