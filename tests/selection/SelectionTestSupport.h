#pragma once
// What the county, state and event window tests share.

#include "support/Doubles.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

inline QString committedStatesDir() { return sourceDir() + QStringLiteral("/data/States"); }

inline QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int j = 0; j < list->count(); ++j)
        texts << list->item(j)->text();
    return texts;
}

// Runs `act` on a modal window of type W once it is open: queued before the call that opens it.
template <typename W> void whenModalOpens(std::function<void(W *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *window = qobject_cast<W *>(QApplication::activeModalWidget());
        QVERIFY(window);
        act(window);
    });
}
