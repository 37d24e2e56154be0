#pragma once
// Text arriving in a box as the owner brings it: typed, pasted with Ctrl+V or the box's own
// Paste (what its context menu calls), or dragged in from another program and dropped at the end.

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

enum TextWay { Typed, Pasted, PastedFromMenu, Dropped };

inline void putText(QLineEdit *box, const QString &text, int way)
{
    if (way == Typed) {
        QTest::keyClicks(box, text);
    } else if (way == Dropped) {
        QMimeData mime;
        mime.setText(text);
        const QPoint at(box->width() - 2, box->height() / 2); // after the text
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
    } else {
        QGuiApplication::clipboard()->setText(text);
        if (way == Pasted)
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        else
            box->paste();
    }
}
