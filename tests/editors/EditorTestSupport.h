#pragma once
// What the editor window tests share: a record as on a fresh installation (read through the
// real settings store), the settings block as bytes, clicks on boxes and option buttons,
// and waiting until a window has read the record.

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

// The record of a fresh installation: every key missing from the (empty) store.
inline void freshRecord()
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

// A block from its bytes as a hex string ("00 03 03 ..."), for readable rows.
inline QByteArray blockFromHex(const char *hex) { return QByteArray::fromHex(QByteArray(hex).replace(' ', "")); }

// The caption as the owner reads it: without the accelerator marks.
inline QString shownText(const QAbstractButton *button)
{
    return QString(button->text()).replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

// A click where the owner clicks: on the box or the round button, inside the widget.
inline void click(QAbstractButton *button)
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

// The three ways to leave a window without its changes, as data rows for a test with a
// `way` column, and the leaving itself: Cancel, Escape (pressed in `escapeIn`), the close box.
inline void addDiscardRows()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}
inline void discardBy(int way, QDialog &window, QAbstractButton *cancel, QWidget *escapeIn)
{
    if (way == 0)
        QTest::mouseClick(cancel, Qt::LeftButton);
    else if (way == 1)
        QTest::keyClick(escapeIn, Qt::Key_Escape);
    else
        window.close();
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
