#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "app/Startup.h"
#include "app/frmMain.h"
#include "config/ReceiverConfig.h"
#include "config/SettingsStore.h"
#include "diagnostics/frmTip.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <memory>

namespace {

// Notes the order in which the main window and the tip are shown.
class ShowOrder : public QObject
{
public:
    QStringList shown;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()
            && (watched->objectName() == QLatin1String("frmMain") || watched->objectName() == QLatin1String("frmTip")))
            shown << watched->objectName();
        return false;
    }
};

frmTip *visibleTip()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *tip = qobject_cast<frmTip *>(w); tip && tip->isVisible())
            return tip;
    return nullptr;
}

void storeTipSetting(const char *value) { putSetting("EDITOR/ShowTipsAtStartup", value); }

// A start of the program as far as the main window; the tip, if any, deletes itself on close.
std::unique_ptr<frmMain> start(ShowOrder *order = nullptr)
{
    clearReceiverConfig();
    if (order)
        qApp->installEventFilter(order);
    std::unique_ptr<frmMain> main(startup());
    if (order)
        qApp->removeEventFilter(order);
    return main;
}

void closeTips()
{
    while (frmTip *tip = visibleTip())
        tip->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TipTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(!visibleTip());
        freshHome();
        doubles().clear();
    }
    void cleanup() { closeTips(); }

    void tipText()
    {
        QCOMPARE(::tipText(),
                 QStringLiteral("Your Orvane contains a database of weather transmitters throughout the United States "
                                "and it's Territories.  Since these stations are upgraded, deleted, or added by NOAA "
                                "every few months,  remember to periodically check into web site:\r\n"
                                " www.example.com\r\n"
                                "There you can download a file to update your Orvane database.\r\n\r\n"
                                " You can directly access the Web update page from the Orvane \"Help\" menu."));
        frmTip tip(nullptr);
        QCOMPARE(tip.windowTitle(), QStringLiteral("Orvane Information Tip"));
    }

    // At start-up the tip follows the main window only when the setting asks for it, and the
    // menu item's check mark tells the setting.
    void startupRule_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("tipShown");
        QTest::newRow("on") << "True" << true;
        QTest::newRow("off") << "False" << false;
        QTest::newRow("nothing stored: on") << "" << true;
    }
    void startupRule()
    {
        QFETCH(QString, stored);
        QFETCH(bool, tipShown);
        if (!stored.isEmpty())
            storeTipSetting(qPrintable(stored));
        ShowOrder order;
        auto main = start(&order);

        QCOMPARE(main->mnuTipsShow->isChecked(), tipShown);
        frmTip *tip = visibleTip();
        QCOMPARE(tip != nullptr, tipShown);
        if (!tipShown) {
            QCOMPARE(order.shown, QStringList{"frmMain"});
            return;
        }
        QCOMPARE(order.shown, QStringList({"frmMain", "frmTip"}));
        QVERIFY(!tip->isModal());
        QVERIFY(tip->chkLoadTipsAtStartup->isChecked());
        QCOMPARE(tip->lblTipText->text(), ::tipText().remove(u'\r'));
        QCOMPARE(tip->chkLoadTipsAtStartup->text(), QStringLiteral("&Show Tip at Startup"));
        QCOMPARE(tip->lblHeading->text(), QStringLiteral("Information Tip For You To Know..."));
        tip->cmdOK->click(); // the box kept: the setting and the menu stay on
        QVERIFY(ReceiverConfig.EDITOR.ShowTipsAtStartup);
        QVERIFY(main->mnuTipsShow->isChecked());
        QVERIFY(!visibleTip());
    }

    // Tips off: the tip window goes away at load and unchecks the menu.
    void tipWindowClosesItselfWhenOff()
    {
        ReceiverConfig.EDITOR.ShowTipsAtStartup = false;
        QAction item(QStringLiteral("Show Tip at startup"));
        item.setCheckable(true);
        item.setChecked(true);
        frmTip tip(&item);
        QVERIFY(!tip.shown());
        QVERIFY(!item.isChecked());
        QVERIFY(!showTipAtStartup(&item, nullptr));
        QVERIFY(!visibleTip());
    }

    // Both ways of changing the setting take at once and last: the menu item (both ways,
    // without showing the tip), and the tip's check box on OK, each saved by the "Exit" button
    // and seen at the next start.
    void settingSurvivesARestart()
    {
        storeTipSetting("False");
        auto main = start();
        QVERIFY(!main->mnuTipsShow->isChecked());
        QVERIFY(main->mnuTipsShow->isEnabled());
        for (bool on : {true, false, true}) {
            main->mnuTipsShow->trigger();
            QCOMPARE(ReceiverConfig.EDITOR.ShowTipsAtStartup, on);
            QCOMPARE(main->mnuTipsShow->isChecked(), on);
            QVERIFY(!visibleTip());
        }
        main->cmdMain[10]->click();  // "Exit": saves without asking
        QCOMPARE(doubles().programEnds, 1);
        main.reset();
        QCOMPARE(storedSetting("EDITOR/ShowTipsAtStartup"), QStringLiteral("True"));

        main = start();
        frmTip *tip = visibleTip();
        QVERIFY(tip);
        QVERIFY(main->mnuTipsShow->isChecked());
        tip->chkLoadTipsAtStartup->setChecked(false);
        tip->cmdOK->click();
        QVERIFY(!ReceiverConfig.EDITOR.ShowTipsAtStartup);
        QVERIFY(!main->mnuTipsShow->isChecked());
        QVERIFY(!visibleTip());
        main->cmdMain[10]->click();
        main.reset();

        main = start();
        QVERIFY(!visibleTip());
        QVERIFY(!main->mnuTipsShow->isChecked());
        QVERIFY(!ReceiverConfig.EDITOR.ShowTipsAtStartup);
    }
};

ORVANE_TEST(TipTest)
#include "TipTest.moc"
