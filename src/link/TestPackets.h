#pragma once
// The test alerts played by frmTest: which button plays which header clip, the clips the
// program carries (ids 110 to 160) and the instruction text of the window.

#include <QByteArray>
#include <QString>
#include <array>

struct TestAlert {
    qint16 ButtonID;  // 1 to 4
    QString button;   // caption of the button
    QString label;    // caption of its Label1, shown in lblIdent while the alert plays
    qint16 headerClip;
};

const std::array<TestAlert, 4> &testAlerts();
// The alert of a ButtonID, or nullptr for any other id.
const TestAlert *testAlert(qint16 ButtonID);

constexpr qint16 kBeepClip = 150;
constexpr qint16 kEndOfMessageClip = 160;
constexpr qint16 kHeaderRepeats = 3;
constexpr qint16 kBeepRepeats = 24;
constexpr qint16 kEndOfMessageRepeats = 3;
constexpr int kPauseBeforeHeaderMs = 500;
constexpr int kPauseAfterClipMs = 1000;
constexpr int kPauseInEndPacketMs = 1000; // before the beeps and before the end of message

// The WAV bytes of an embedded clip; empty for an unknown id.
QByteArray testClipBytes(qint16 id);
// How long a clip sounds, in whole milliseconds; 0 for an unknown id.
int testClipMs(qint16 id);

// The instruction text of lblInfo, line breaks as CR LF.
QString testInfoText();
