#include "support/Processes.h"
#include "support/TestRegistry.h"

#include "app/CommandLine.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

// The desktop entry, the AppStream metainfo and the manual page in packaging/: valid for the
// desktop's own tools, under the program's one application id and with its one version.
class DesktopMetadataTest : public QObject
{
    Q_OBJECT

    static QString packagingFile(const QString &name)
    {
        return QStringLiteral(ORVANE_TEST_SOURCE_DIR "/packaging/") + name;
    }
    static QString desktopFile() { return packagingFile(kApplicationId + QStringLiteral(".desktop")); }
    static QString metainfoFile() { return packagingFile(kApplicationId + QStringLiteral(".metainfo.xml")); }

    static QString readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private slots:
    // Clean for the desktop's own tools: no errors and no warnings (desktop-file-validate's
    // "hint:" lines are suggestions).
    void validByTheDesktopTools()
    {
        static const QRegularExpression complaint(QStringLiteral("(error|warning):|^[EW]: "), QRegularExpression::MultilineOption);
        for (const auto &[tool, arguments] : {std::pair{QStringLiteral("desktop-file-validate"), QStringList{desktopFile()}},
                                              std::pair{QStringLiteral("appstreamcli"), QStringList{"validate", "--no-net", metainfoFile()}}}) {
            const QString path = QStandardPaths::findExecutable(tool);
            if (path.isEmpty())
                QSKIP(qPrintable(tool + QStringLiteral(" is not installed (see ORVANE_TEST_PACKAGES in scripts/packages.sh)")));
            const ProgramRun run = runProgram(path, arguments, 60000);
            const QString out = QString::fromUtf8(run.output);
            QVERIFY2(run.succeeded() && !out.contains(complaint), qPrintable(tool + u' ' + out));
        }
    }

    void oneIdAndOneVersion()
    {
        const QString desktop = readAll(desktopFile());
        QVERIFY(desktop.contains(QStringLiteral("\nIcon=%1\n").arg(kApplicationId)));
        QVERIFY(desktop.contains(QStringLiteral("\nExec=orvane-editor\n")));

        // The metainfo's elements by their path below the component, with their attributes.
        QMap<QString, QStringList> texts;
        QMap<QString, QString> attributes;
        QXmlStreamReader xml(readAll(metainfoFile()));
        QStringList path;
        QStringList text; // the characters of each open element
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                path << xml.name().toString();
                text << QString();
                for (const QXmlStreamAttribute &a : xml.attributes())
                    attributes[path.join('/') + '@' + a.name().toString()] = a.value().toString();
            } else if (xml.isCharacters() && !text.isEmpty()) {
                text.last() += xml.text();
                if (path.size() > 2 && path.at(1) == QLatin1String("description"))
                    text[1] += xml.text();
            } else if (xml.isEndElement()) {
                const QString t = text.takeLast().simplified();
                if (!t.isEmpty())
                    texts[path.join('/')] << t;
                path.removeLast();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(texts.value("component/id"), QStringList{kApplicationId});
        QCOMPARE(texts.value("component/launchable"), QStringList{kApplicationId + QStringLiteral(".desktop")});
        QCOMPARE(attributes.value("component/releases/release@version"), editorVersion());
        QVERIFY(attributes.value("component/content_rating@type").startsWith(QLatin1String("oars-")));
        QVERIFY(!texts.value("component/summary").isEmpty());
        QVERIFY(!texts.value("component/categories/category").isEmpty());
        QVERIFY(texts.value("component/description").join(' ').contains(QLatin1String("dialout")));

        // Every screenshot is one of the pictures in docs/.
        const QStringList images = texts.value("component/screenshots/screenshot/image");
        QVERIFY(!images.isEmpty());
        for (const QString &url : images) {
            QVERIFY2(url.contains(QLatin1String("/docs/")), qPrintable(url));
            QVERIFY2(QFile::exists(QStringLiteral(ORVANE_TEST_SOURCE_DIR "/docs/") + url.section('/', -1)),
                     qPrintable(url));
        }

        const QString manual = readAll(packagingFile(QStringLiteral("orvane-editor.1")));
        QVERIFY(manual.startsWith(QStringLiteral(".TH ORVANE-EDITOR 1 ")));
        QVERIFY(manual.contains(QStringLiteral("\"Orvane Editor %1\"").arg(editorVersion())));
        for (const char *text : {"\\-\\-help", "\\-\\-version", "Orvane.conf", "ORVANE_FILE2.DAT", "ORVANE.TXT",
                                 "States/", "orvane.qch", "[PORTS]", "dialout", "orvane-receiver-simulator"})
            QVERIFY2(manual.contains(QLatin1String(text)), text);
        // The files written at the end name every way out that saves.
        const QString files = manual.section(QStringLiteral(".SH FILES"), 1).section(QStringLiteral(".SH "), 0, 0);
        for (const char *file : {"Orvane.conf\n", "ORVANE_FILE2.DAT\n"}) {
            const QString entry = files.section(QLatin1String(file), 1).section(QStringLiteral(".TP"), 0, 0).simplified();
            for (const char *way : {"\"Exit\" button", "close box", "File > Exit answered Yes"})
                QVERIFY2(entry.contains(QLatin1String(way)), qPrintable(QStringLiteral("%1: %2").arg(file, way)));
        }
    }
};

ORVANE_TEST(DesktopMetadataTest)
#include "DesktopMetadataTest.moc"
