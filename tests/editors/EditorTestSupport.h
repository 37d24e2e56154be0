#pragma once
// What the editor window tests share: a record as on a fresh installation (read through the
// real settings store), the settings block as bytes, clicks where the owner clicks, and
// running a check on a modal window once it is open.

#include "support/Doubles.h"

#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <functional>

inline void freshRecord() // every key missing from the (empty) store
{
    freshHome();
    clearReceiverConfig();
    QVERIFY(loadSettings());
    doubles().clear();
}

// Bytes 0 to 31 of the receiver image for the record as it stands.
inline QByteArray settingsBlock()
{
    buildSettingsImage();
    return QByteArray(reinterpret_cast<const char *>(SettingsImage.data()), int(SettingsImage.size()));
}

inline QByteArray blockFromHex(const char *hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); }

// The caption as the owner reads it: without the accelerator marks.
inline QString shownText(const QAbstractButton *button)
{
    return QString(button->text()).replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

inline void click(QAbstractButton *button) // on the box or the round button, inside the widget
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

// Shows the window and waits until it is the active window (it has read the record then).
inline bool openWindow(QWidget &window)
{
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

// Runs `act` on the modal window of type W that the next call opens, once it is active.
// A failure closes the window, so the call that opened it returns.
template <typename W> void whenEditorOpens(std::function<void(W *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        const auto closeOnFailure = qScopeGuard([modal] {
            if (QTest::currentTestFailed() && modal && modal->isVisible())
                modal->close();
        });
        auto *window = qobject_cast<W *>(modal);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        act(window);
    });
}
