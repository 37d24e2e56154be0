#include "support/Doubles.h"
#include "support/TestRegistry.h"

#include "config/ReceiverConfig.h"
#include "core/WavData.h"
#include "selection/StateDatabase.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <memory>

namespace {

std::vector<std::pair<const char *, TestRegistry::Factory>> &registry()
{
    static std::vector<std::pair<const char *, TestRegistry::Factory>> list;
    return list;
}

Doubles theDoubles;
std::unique_ptr<QTemporaryDir> home;

} // namespace

int TestRegistry::add(const char *name, Factory factory)
{
    registry().emplace_back(name, std::move(factory));
    return int(registry().size());
}

Doubles &doubles() { return theDoubles; }

void Doubles::install()
{
    Platform::setMessagePresenter([this](const MessageRequest &request) {
        messages.append(request);
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        for (auto b : {QMessageBox::Ok, QMessageBox::Yes})
            if (request.buttons.testFlag(b))
                return b;
        return QMessageBox::Ok;
    });
    Platform::setBeeper([this] { ++beeps; });
    Platform::setProgramEnder([this] { ++programEnds; });
    Platform::setWallClock([this] { return wallClock; });
    Platform::setMonotonicClock([this] { return monotonic; });
    Platform::setEventWaiter([this](int ms) {
        waits.append(ms);
        monotonic += ms;
    });
    Platform::setBrowser([this](const QUrl &url) {
        openedUrls.append(url);
        return browserStarts;
    });
    Platform::setHelpViewer([this](const HelpRequest &request) { helpRequests.append(request); });
    Platform::setSoundPlayer(
        [this](const QByteArray &wav) {
            sounds.append(wav);
            const PcmWav clip = parsePcmWav(wav);
            if (clip.valid)
                monotonic += clip.samples.size() * 1000 / (qint64(clip.sampleRate) * clip.channels * (clip.bitsPerSample / 8));
            return true;
        },
        [this] { ++soundStops; });
    Platform::setSleeper([this](int ms) {
        sleeps.append(ms);
        monotonic += ms;
    });
}

void Doubles::clear()
{
    *this = Doubles(); // every field back to its first value, none forgotten
    install(); // a test may have put its own seam in; start every test from the doubles
}

QString box(const QString &text, QMessageBox::Icon icon, QMessageBox::StandardButtons buttons, const QString &title)
{
    return QStringLiteral("%1 | %2 | icon %3 | buttons 0x%4").arg(title, text).arg(int(icon)).arg(int(buttons), 0, 16);
}

QString shownBox(const MessageRequest &m) { return box(m.text, m.icon, m.buttons, m.title); }

QStringList shownBoxes()
{
    QStringList boxes;
    for (const MessageRequest &m : theDoubles.messages)
        boxes << shownBox(m);
    return boxes;
}

QString freshHome()
{
    home = std::make_unique<QTemporaryDir>();
    const QString path = home->path();
    QDir::setCurrent(path);
    QDir(path).mkpath(QStringLiteral("config"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path + QStringLiteral("/config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path + QStringLiteral("/config"));
    return path;
}

QString settingsFilePath()
{
    return QDir::currentPath() + QStringLiteral("/config/Orvane/Orvane.conf");
}

QString sourceDir()
{
    const QByteArray fromEnv = qgetenv("ORVANE_SOURCE_DIR");
    return fromEnv.isEmpty() ? QStringLiteral(ORVANE_TEST_SOURCE_DIR) : QString::fromLocal8Bit(fromEnv);
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (runtimeDir.path() + QStringLiteral("/xdg-config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (runtimeDir.path() + QStringLiteral("/xdg-cache")).toLocal8Bit());
    QApplication app(argc, argv);

    // "program ClassName [qtest options]" runs one class; otherwise all of them.
    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args[1].startsWith(u'-')) {
        only = args[1];
        args.removeAt(1);
    }

    int failedClasses = 0;
    int ran = 0;
    for (auto &[name, factory] : registry()) {
        if (!only.isEmpty() && only != QLatin1String(name))
            continue;
        freshHome();
        clearReceiverConfig();
        // Test programs do not sit beside a States folder: read the committed state files.
        setStatesDirectory(sourceDir() + QStringLiteral("/data/States"));
        theDoubles.clear();
        theDoubles.install();
        std::unique_ptr<QObject> test = factory();
        if (QTest::qExec(test.get(), args) != 0)
            ++failedClasses;
        ++ran;
        Platform::resetAll();
    }
    std::printf("%d passed, %d failed\n", ran - failedClasses, failedClasses);
    return failedClasses == 0 ? 0 : 1;
}
