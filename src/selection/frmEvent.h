// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The event code window: 52 tick boxes on two pages, at most 48 ticked, stored into
// EventList on OK. Created anew at each opening, so it always starts from EventList.

#include "selection/EventTable.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedLayout;
class QWidget;

class frmEvent : public QDialog
{
    Q_OBJECT
public:
    explicit frmEvent(QWidget *parent = nullptr);

    // The two pages, equal in size and at the same place; one is visible at a time.
    QWidget *Picture1 = nullptr;
    QWidget *Picture2 = nullptr;
    // One box per EventTable slot, named chk + code (chkADR ... chkWSW).
    std::array<QCheckBox *, kEventCodeCount> chk{};
    std::array<QPushButton *, 2> cmdSelect{};
    QPushButton *cmdOK = nullptr;
    QLabel *lblCount = nullptr;

    // The box of a code, or null.
    QCheckBox *box(const QString &code) const;

    // Counts the ticked boxes and shows the count in lblCount.
    qint16 countSelectedEvents();
    // Ticks exactly the boxes whose codes are in EventList slots 0 to 47.
    void GetEvents();
    bool MatchOk(const QString &code) const;
    // 0 shows page 1, 1 shows page 2; any other value changes nothing.
    void SelectPage(qint16 page);
    // Writes the ticked codes into EventList in store order.
    void storeEventSelection();

    void cmdSelect_Click(int index);
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildPage(int page);
    void boxToggled(int slot);
    void fitHeightToPage();

    QStackedLayout *pages = nullptr;
};
