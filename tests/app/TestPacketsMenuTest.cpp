#include "config/ConfigTestSupport.h"
#include "support/TestRegistry.h"

#include "app/frmMain.h"
#include "link/frmTest.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
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
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("&Play Test Packets..."));
        QVERIFY(item->isEnabled());
        QString title;
        bool modal = false;
        bool found = false;
        QTimer::singleShot(0, this, [&] {
            auto *window = qobject_cast<frmTest *>(QApplication::activeModalWidget());
            found = window != nullptr;
            if (!window)
                return;
            title = window->windowTitle();
            modal = window->isModal() && window->isVisible();
            window->cmdOk->click();
        });
        // A window that did not open modally would leave the click above without effect;
        // a window left open would hold this call: a second timer closes any survivor.
        QTimer::singleShot(5000, this, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        item->trigger();
        QVERIFY(found);
        QCOMPARE(title, QStringLiteral("Orvane SAME Packet Test"));
        QVERIFY(modal);
    }
};

ORVANE_TEST(TestPacketsMenuTest)
#include "TestPacketsMenuTest.moc"
