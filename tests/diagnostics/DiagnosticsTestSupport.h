#pragma once
// What the About, tip and help tests share: looking at a modal window while it is up.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

// Runs `open`, which shows a modal window of type W and returns when it closes; `inspect`
// sees the window while it is up, then the window is closed. Returns whether W was seen.
// A window that never appears cannot hang the test: after two seconds every dialog is closed.
template <typename W>
bool whileModal(const std::function<void()> &open, const std::function<void(W *)> &inspect)
{
    bool seen = false;
    int tries = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = true;
            inspect(window);
            window->close();
        } else if (++tries > 200) {
            poll.stop();
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
                    dialog->reject();
        }
    });
    poll.start();
    open();
    poll.stop();
    return seen;
}
