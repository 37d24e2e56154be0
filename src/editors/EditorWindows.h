#pragma once
// What the options, timer and identification windows share: the picture beside the
// controls, the OK / Cancel row, exclusive option groups that may have nothing selected,
// and the rule for when a window reads the record again.

#include <QObject>
#include <QRadioButton>
#include <QString>
#include <array>
#include <functional>

class QButtonGroup;
class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

// Names and titles an editor window, makes it modal and gives it the program's icon.
void setUpEditorWindow(QDialog *window, const QString &name, const QString &title);

// Image1: picture n of the main window's image list.
QLabel *editorPicture(int n, QWidget *parent);

// OK (the default button: Enter) accepts nothing by itself, Cancel rejects; Escape and the
// close box reject as well. Returns the right-aligned row holding both.
QHBoxLayout *okCancelRow(QDialog *window, const QString &okName, QPushButton *&ok, QPushButton *&cancel);

// Selects button `index` of an exclusive group, or none for any index outside the group.
void selectOption(QButtonGroup *group, int index);

// Index of the first selected button, or -1.
template <std::size_t N> int firstSelected(const std::array<QRadioButton *, N> &buttons)
{
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

// Calls `load` at once, whenever the program shows the window, and again when the owner
// comes back to it from another window of the program. Coming back from a box the window
// itself opened, from another program or from the task bar keeps what the owner has changed
// so far.
class LoadOnActivation : public QObject
{
public:
    LoadOnActivation(QDialog *window, std::function<void()> load);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDialog *window;
    std::function<void()> load;
    bool reloadOnReturn = false;
};

