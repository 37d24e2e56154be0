#include "config/ConfigTestSupport.h"
#include "selection/SelectionTestSupport.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "link/frmTest.h"

#include <QAction>
#include <QPushButton>
#include <memory>

// "&Play Test Packets..." of the Help menu opens the test packet window modally.
class TestPacketsMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshState(); }

    void opensTestWindowModally()
    {
        auto main = std::make_unique<frmMain>();
        main->show();
        QAction *item = main->findChild<QAction *>(QStringLiteral("mnuTest"));
        QVERIFY(item && item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("&Play Test Packets..."));
        // Run only while the window is the open modal one: one that did not open modally
        // returns from the trigger first.
        bool seen = false;
        whenModalOpens<frmTest>([&seen](frmTest *window) {
            seen = true;
            QCOMPARE(window->windowTitle(), QStringLiteral("Orvane SAME Packet Test"));
            QVERIFY(window->isModal() && window->isVisible());
            window->cmdOk->click();
        });
        item->trigger();
        QVERIFY(seen);
    }
};

ORVANE_TEST(TestPacketsMenuTest)
#include "TestPacketsMenuTest.moc"
