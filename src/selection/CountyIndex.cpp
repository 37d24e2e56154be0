#include "selection/CountyIndex.h"

#include "selection/StateDatabase.h"

#include <QHash>

namespace {

struct CountyIndex {
    QString directory; // the states folder it was read from
    bool read = false;
    QHash<QString, QString> listTexts;
};

const CountyIndex &countyIndex()
{
    static CountyIndex index;
    if (index.read && index.directory == statesDirectory())
        return index;
    index = CountyIndex{statesDirectory(), true, {}};
    QStringList lines;
    for (int s = 0; s < kStateCount; ++s) {
        if (!readStateFile(s, lines))
            continue; // a missing file only leaves its counties unnamed
        for (const QString &line : lines) {
            const QString code = line.left(6);
            if (code.size() == 6 && !index.listTexts.contains(code))
                index.listTexts.insert(code, countyEntryFromStateLine(line));
        }
    }
    return index;
}

} // namespace

QString countyListTextForCode(const QString &code)
{
    return countyIndex().listTexts.value(code);
}
