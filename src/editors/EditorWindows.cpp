#include "editors/EditorWindows.h"

#include "core/Artwork.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

void setUpEditorWindow(QDialog *window, const QString &name, const QString &title)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setWindowIcon(QIcon(programIcon()));
    window->setModal(true);
}

QLabel *editorPicture(int n, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(imageListPicture(n));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return picture;
}

QHBoxLayout *okCancelRow(QDialog *window, const QString &okName, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setObjectName(okName);
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Cancel"), window);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    QObject::connect(cancel, &QPushButton::clicked, window, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void selectOption(QButtonGroup *group, int index)
{
    if (QAbstractButton *button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied button by button.
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

LoadOnActivation::LoadOnActivation(QDialog *window, std::function<void()> load)
    : QObject(window), window(window), load(std::move(load))
{
    window->installEventFilter(this);
    // Filled once before the window first shows, so that it is laid out for its contents.
    this->load();
}

namespace {

// Whether `other` is `window` or a window opened on top of it (its message boxes).
bool belongsTo(const QWidget *other, const QWidget *window)
{
    for (const QWidget *w = other; w; w = w->parentWidget())
        if (w == window)
            return true;
    return false;
}

} // namespace

bool LoadOnActivation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window)
        return false;
    // A window brought back from the task bar is shown by the window system (spontaneously):
    // that keeps the owner's edits too.
    if (event->type() == QEvent::Show && !event->spontaneous()) {
        reloadOnReturn = false;
        load();
    } else if (event->type() == QEvent::ActivationChange) {
        if (window->isActiveWindow()) {
            if (reloadOnReturn)
                load();
            reloadOnReturn = false;
        } else {
            // The window now active (null: another program) is already known here.
            const QWidget *now = QApplication::activeWindow();
            reloadOnReturn = now && !belongsTo(now, window);
        }
    }
    return false;
}
