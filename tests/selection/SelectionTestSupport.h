#pragma once
// What the county, state and event window tests share.

#include "support/Doubles.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

inline QString committedStatesDir() { return sourceDir() + QStringLiteral("/data/States"); }

inline QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int j = 0; j < list->count(); ++j) texts << list->item(j)->text();
    return texts;
}

// Closes every modal window that is still open, innermost first (a dialog past any refusal of its own closing).
inline void closeModalWindows()
{
    for (int guard = 0; guard < 10 && QApplication::activeModalWidget(); ++guard)
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->done(QDialog::Rejected);
        else
            QApplication::activeModalWidget()->hide();
}

// Runs `act` on a modal window of type W once it is open: queued before the call that opens it.
// After a failed check every modal window still open is closed: the call that opened it returns.
template <typename W> void whenModalOpens(std::function<void(W *)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget()))
            act(window);
        else
            QTest::qFail("the expected window is not the open modal window", __FILE__, __LINE__);
        if (QTest::currentTestFailed()) closeModalWindows();
    });
}
