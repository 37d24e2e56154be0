#pragma once
// Decoding of the receiver's 40 raw history records (DownloadBuffer) into HistoryTable.

// Decodes DownloadBuffer into HistoryTable.
void decodeHistory();
