#include "link/HistoryDecoding.h"

// Placeholder until the history decoding lands.
void decodeHistory() {}
