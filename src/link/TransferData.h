// Receiver link (src/link): port, link, transfer, history decoding; uses core, config, the event table.
#pragma once
// The bytes of a transfer, apart from any window and any port: the selection area of the
// transfer image, the two checksums, the ROM version text and the clock-second pause before
// the upload. They work on the buffers they are given (the link's TransferImage and
// DownloadBuffer in the program).

#include "link/ReceiverLink.h"

#include <QDateTime>
#include <QString>
#include <functional>

// TransferImage bytes 32 to 207 hold the ticked counties (six digits and "-", 7 bytes
// each), bytes 208 to 606 the event codes (each followed by "-"); the rest of each area is 0.
constexpr int kFipsAreaStart = 32;
constexpr int kFipsAreaEnd = 208;   // one past the last byte
constexpr int kEventAreaStart = 208;
constexpr int kEventAreaEnd = 607;  // one past the last byte sent
constexpr int kImageBytesSent = 607;
constexpr int kDownloadBytes = 1284;
constexpr int kDownloadChecksumIndex = 1279;

// Fills bytes 32 to 606 of the image from FipsList and EventList. At most 24 counties and 48
// event codes are taken, and entries that would not fit in their area are left out: nothing
// is ever written outside it, whatever the lists hold.
void buildSelectionArea(TransferImageBytes &TransferImage);
// Sum of the image's bytes 0 to 606 (the caller keeps the low 8 bits).
int imageChecksum(const TransferImageBytes &TransferImage);
// Whether the sum of the download's bytes 0 to 1278, modulo 256, equals byte 1279.
bool downloadChecksumOk(const DownloadBufferBytes &DownloadBuffer);
// "1.05" from the download's bytes 1280 to 1282 holding "105".
QString romVersionFromDownload(const DownloadBufferBytes &DownloadBuffer);

// The second at which the upload starts when the pause begins at `second`: two seconds on,
// or second 2 when that would pass 59.
int uploadStartSecond(int second);
// Waits, without handling window events, until the wall clock (Platform::now) shows the
// upload start second. Sleeps between looks at the clock; never waits longer than the
// designed longest pause (4 s), however the clock moves meanwhile.
void pauseUntilUploadSecond();
// The sleep of that pause, in milliseconds; a test installs one that moves its clock instead
// (empty function = the real sleep).
void setPauseSleeper(std::function<void(int)> sleeper);
