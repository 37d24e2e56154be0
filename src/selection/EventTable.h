// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The 52 SAME event codes the editor knows: their names (the texts the alert history
// shows), where each tick box stands in the event window, and the order in which the ticked
// codes are stored into EventList.

#include <QString>
#include <QStringList>
#include <array>

struct EventTableRow {
    QString Code;       // three capital letters, e.g. "TOR"
    QString Name;       // e.g. "Tornado Warning"
    int Page = 0;       // 1 or 2
    QString Group;      // title of the framed group the box stands in
    QString Caption;    // the tick box's caption
    int StoreOrder = 0; // 1 to 52: place of the code in EventList when ticked
};

constexpr int kEventCodeCount = 52;
// EventList slots the event window reads and writes; slot 48 is never touched by it.
constexpr int kEventSelectable = 48;

// Empty until initEventTable has run; never changed afterwards.
extern std::array<EventTableRow, kEventCodeCount> EventTable;

// Builds EventTable. Safe to call again; the lookups call it themselves if start-up has
// not run yet, so nothing ever looks codes up in an empty table.
void initEventTable();

// The table slot of a code (exact, case-sensitive), or -1.
int eventSlot(const QString &code);

// Table slots ordered by the store order: AVA, AVW, CFA, CFW, ... RWT, SVS, SPS.
std::array<int, kEventCodeCount> eventSlotsInStoreOrder();

// Group titles of a page (1 or 2) in the order the window shows them.
QStringList eventGroupTitles(int page);

// Whether the code equals one of EventList slots 0 to 47 (exact, case-sensitive).
bool eventListContains(const QString &code);

// Writes the ticked codes (ticked[slot] for each table slot) into EventList slots 0 to 47
// in store order, without gaps; slot 48 keeps its text. Refuses, changing nothing, when
// more than 48 are ticked; returns whether it stored.
bool storeTickedEvents(const std::array<bool, kEventCodeCount> &ticked);
