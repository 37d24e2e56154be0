#include "selection/EventTable.h"

#include "config/ReceiverConfig.h"

#include <algorithm>

std::array<EventTableRow, kEventCodeCount> EventTable;

namespace {

struct RowSource {
    const char *code, *name;
    int page;
    const char *group, *caption;
    int storeOrder;
};

// clang-format off
constexpr RowSource kRows[kEventCodeCount] = {
    {"ADR", "Administrative Message",         2, "Misc Events",          "Administrative Message",         46},
    {"AVW", "Avalanche Warning",              1, "Avalanche",            "Warning",                         2},
    {"AVA", "Avalanche Watch",                1, "Avalanche",            "Watch",                           1},
    {"BZW", "Blizzard Warning",               2, "Misc Warnings",        "Blizzard Warning",               26},
    {"CAE", "Child Abduction Emergency",      2, "Emergency - Messages", "Child Abduction Emergency",      39},
    {"CDW", "Civil Danger Warning",           2, "Misc Warnings",        "Civil Danger Warning",           27},
    {"CEM", "Civil Emergency Message",        2, "Emergency - Messages", "Civil Emergency Message",        40},
    {"CFW", "Coastal Flood Warning",          1, "Coastal Flood",        "Warning",                         4},
    {"CFA", "Coastal Flood Watch",            1, "Coastal Flood",        "Watch",                           3},
    {"DSW", "Dust Storm Warning",             2, "Misc Warnings",        "Dust Storm Warning",             28},
    {"EQW", "Earthquake Warning",             2, "Misc Warnings",        "Earthquake Warning",             29},
    {"EVI", "Evacuation Immediate",           2, "Misc Events",          "Evacuate Immediate",             47},
    {"EAN", "Emergency Action Notification",  2, "Emergency - Messages", "Emergency Action Notification",  44},
    {"EAT", "Emergency Action Termination",   2, "Emergency - Messages", "Emergency Action Termination",   45},
    {"FRW", "Fire Warning",                   2, "Misc Warnings",        "Fire Warning",                   30},
    {"FFW", "Flash Flood Warning",            1, "Flash Flood",          "Warning",                         6},
    {"FFA", "Flash Flood Watch",              1, "Flash Flood",          "Watch",                           5},
    {"FFS", "Flash Flood Statement",          1, "Flash Flood",          "Statement",                       7},
    {"FLW", "Flood Warning",                  1, "Flood",                "Warning",                         9},
    {"FLA", "Flood Watch",                    1, "Flood",                "Watch",                           8},
    {"FLS", "Flood Statement",                1, "Flood",                "Statement",                      10},
    {"HMW", "Hazardous Materials Warning",    2, "Misc Warnings",        "Hazardous Materials Warning",    31},
    {"HWW", "High Wind Warning",              1, "High Wind",            "Warning",                        12},
    {"HWA", "High Wind Watch",                1, "High Wind",            "Watch",                          11},
    {"HUW", "Hurricane Warning",              1, "Hurricane",            "Warning",                        14},
    {"HUA", "Hurricane Watch",                1, "Hurricane",            "Watch",                          13},
    {"HLS", "Hurricane Statement",            1, "Hurricane",            "Statement",                      15},
    {"LEW", "Law Enforcement Warning",        2, "Misc Warnings",        "Law Enforcement Warning",        32},
    {"LAE", "Local Area Emergency",           2, "Emergency - Messages", "Local Area Emergency",           41},
    {"NIC", "National Information Center",    2, "Emergency - Messages", "National Information Center",    42},
    {"TOE", "911 Telephone Outage Emergency", 2, "Emergency - Messages", "911 Telephone Outage Emergency", 43},
    {"NPT", "National Periodic Test",         2, "Misc Events",          "National Periodic Test",         48},
    {"NUW", "Nuclear Power Plant Warning",    2, "Misc Warnings",        "Nuclear Power Plant Warning",    33},
    {"DMO", "Practice/Demo Warning",          2, "Misc Warnings",        "Practice/Demo Warning",          34},
    {"RHW", "Radiological Hazard Warning",    2, "Misc Warnings",        "Radiological Hazard Warning",    35},
    {"RMT", "Required Monthly Test",          2, "Misc Events",          "Required Monthly Test",          49},
    {"RWT", "Required Weekly Test",           2, "Misc Events",          "Required Weekly Test",           50},
    {"SVR", "Severe Thunderstorm Warning",    1, "Severe Thunderstorm",  "Warning",                        17},
    {"SVA", "Severe Thunderstorm Watch",      1, "Severe Thunderstorm",  "Watch",                          16},
    {"SVS", "Severe Weather Statement",       1, "Statements",           "Severe Weather",                 51},
    {"SPW", "Shelter In Place Warning",       2, "Misc Warnings",        "Shelter in Place Warning",       36},
    {"SMW", "Special Marine Warning",         2, "Misc Warnings",        "Special Marine Warning",         37},
    {"SPS", "Special Weather Statement",      1, "Statements",           "Special Weather",                52},
    {"TOR", "Tornado Warning",                1, "Tornado",              "Warning",                        19},
    {"TOA", "Tornado Watch",                  1, "Tornado",              "Watch",                          18},
    {"TRW", "Tropical Storm Warning",         1, "Tropical Storm",       "Warning",                        21},
    {"TRA", "Tropical Storm Watch",           1, "Tropical Storm",       "Watch",                          20},
    {"TSW", "Tsunami Warning",                1, "Tsunami",              "Warning",                        23},
    {"TSA", "Tsunami Watch",                  1, "Tsunami",              "Watch",                          22},
    {"VOW", "Volcano Warning",                2, "Misc Warnings",        "Volcano Warning",                38},
    {"WSW", "Winter Storm Warning",           1, "Winter Storm",         "Warning",                        25},
    {"WSA", "Winter Storm Watch",             1, "Winter Storm",         "Watch",                          24},
};
// clang-format on

void ensureBuilt()
{
    if (EventTable[0].Code.isEmpty())
        initEventTable();
}

} // namespace

void initEventTable()
{
    for (int slot = 0; slot < kEventCodeCount; ++slot) {
        const RowSource &src = kRows[slot];
        EventTable[slot] = {QString::fromLatin1(src.code), QString::fromLatin1(src.name), src.page,
                            QString::fromLatin1(src.group), QString::fromLatin1(src.caption), src.storeOrder};
    }
}

int eventSlot(const QString &code)
{
    ensureBuilt();
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        if (EventTable[slot].Code == code)
            return slot;
    return -1;
}

std::array<int, kEventCodeCount> eventSlotsInStoreOrder()
{
    ensureBuilt();
    std::array<int, kEventCodeCount> order{};
    for (int slot = 0; slot < kEventCodeCount; ++slot)
        order[slot] = slot;
    std::sort(order.begin(), order.end(),
              [](int a, int b) { return EventTable[a].StoreOrder < EventTable[b].StoreOrder; });
    return order;
}

QStringList eventGroupTitles(int page)
{
    if (page == 1)
        return {QStringLiteral("Avalanche"),     QStringLiteral("High Wind"),
                QStringLiteral("Tropical Storm"), QStringLiteral("Tsunami"),
                QStringLiteral("Hurricane"),     QStringLiteral("Coastal Flood"),
                QStringLiteral("Winter Storm"),  QStringLiteral("Severe Thunderstorm"),
                QStringLiteral("Flash Flood"),   QStringLiteral("Statements"),
                QStringLiteral("Tornado"),       QStringLiteral("Flood")};
    if (page == 2)
        return {QStringLiteral("Emergency - Messages"), QStringLiteral("Misc Events"),
                QStringLiteral("Misc Warnings")};
    return {};
}

bool eventListContains(const QString &code)
{
    for (int i = 0; i < kEventSelectable; ++i)
        if (EventList[i] == code)
            return true;
    return false;
}

bool storeTickedEvents(const std::array<bool, kEventCodeCount> &ticked)
{
    if (std::count(ticked.begin(), ticked.end(), true) > kEventSelectable)
        return false;
    for (int i = 0; i < kEventSelectable; ++i)
        EventList[i].clear();
    int k = 0;
    for (int slot : eventSlotsInStoreOrder())
        if (ticked[slot])
            EventList[k++] = EventTable[slot].Code;
    return true;
}
