#include "selection/SelectionWidgets.h"

#include "core/FixedFont.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>

void setUpSelectionWindow(QDialog *window, const QString &name, const QString &title)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setModal(true);
}

QLabel *boldHeading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QListWidget *fixedFontList(const QString &name, int columns, int minimumHeight, QWidget *parent)
{
    const QFont fixed = fixedColumnFont();
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(fixed);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(columns, u'M')));
    list->setMinimumHeight(minimumHeight);
    return list;
}
