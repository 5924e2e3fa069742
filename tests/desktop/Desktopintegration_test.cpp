// What a desktop needs to offer the program: the menu entry, the icon, and an
// installation that puts them where desktops look.
#include <QtTest>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

const QString kSource = QStringLiteral(VELLIMOR_SOURCE_DIR);
const QString kEntry = kSource + QStringLiteral("/desktop/vellimor.desktop");
const QString kIcon = kSource + QStringLiteral("/desktop/vellimor.svg");

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The entry's keys and values, "Comment[de]" spelled as it stands.
QMap<QString, QString> EntryValues() {
    QMap<QString, QString> values;
    const QStringList lines = QString::fromUtf8(Bytes(kEntry)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#'))) values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

struct Run {
    int ExitCode = -1;
    QString Output;
};

Run RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

}  // namespace

class DesktopintegrationTest : public QObject {
    Q_OBJECT

private slots:
    void entryPassesTheValidatorWithoutRemarks() {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QFAIL("desktop-file-validate is missing: install desktop-file-utils (tools/build.sh does)");
        const Run run = RunProgram(validator, {kEntry});
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Output, QString());
    }

    void entryStartsTheProgramWithItsIconInBothLanguages() {
        const QMap<QString, QString> entry = EntryValues();
        QVERIFY(Bytes(kEntry).startsWith("[Desktop Entry]\n"));
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Vellimor"));
        QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("vellimor"));
        QCOMPARE(entry.value(QStringLiteral("Icon")), QFileInfo(kIcon).completeBaseName());
        QCOMPARE(QFileInfo(QStringLiteral(VELLIMOR_BINARY)).fileName(), entry.value(QStringLiteral("Exec")));
        QVERIFY(!entry.value(QStringLiteral("Comment")).isEmpty());
        QVERIFY(!entry.value(QStringLiteral("Comment[de]")).isEmpty());
        QVERIFY(entry.value(QStringLiteral("Comment")) != entry.value(QStringLiteral("Comment[de]")));
        QVERIFY(entry.value(QStringLiteral("Categories")).split(QLatin1Char(';')).contains(QStringLiteral("System")));
    }

    // The same picture as the configure button's glyph: a white spanner on a blue rounded square.
    void iconIsAScalableSpannerOnBlue() {
        QXmlStreamReader svg(Bytes(kIcon));
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name(), QStringLiteral("svg"));
        QCOMPARE(svg.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
        QCOMPARE(svg.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 16 16"));
        QStringList fills;
        while (!svg.atEnd()) {
            if (svg.readNext() == QXmlStreamReader::StartElement && svg.attributes().hasAttribute(QStringLiteral("fill")))
                fills << svg.attributes().value(QStringLiteral("fill")).toString();
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QCOMPARE(fills, (QStringList{QStringLiteral("#1f5fbf"), QStringLiteral("#ffffff")}));
    }

    void installPutsTheProgramEntryIconAndDocumentationInPlace() {
        const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
        QVERIFY2(!cmake.isEmpty(), "cmake is not on the PATH");
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const Run run = RunProgram(cmake, {QStringLiteral("--install"), QStringLiteral(VELLIMOR_BUILD_DIR),
                                           QStringLiteral("--prefix"), prefix.path()});
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Output));

        const QFileInfo program(prefix.filePath(QStringLiteral("bin/vellimor")));
        QVERIFY(program.isFile() && program.isExecutable());
        QCOMPARE(Bytes(prefix.filePath(QStringLiteral("share/applications/vellimor.desktop"))), Bytes(kEntry));
        QCOMPARE(Bytes(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/vellimor.svg"))), Bytes(kIcon));
        QCOMPARE(Bytes(prefix.filePath(QStringLiteral("share/doc/vellimor/README.md"))),
                 Bytes(kSource + QStringLiteral("/README.md")));
        // The README's pictures, where its links look for them.
        QVERIFY(QFileInfo(prefix.filePath(QStringLiteral("share/doc/vellimor/docs/screenshots/main-window.png"))).size() > 0);
    }
};

QTEST_GUILESS_MAIN(DesktopintegrationTest)
#include "Desktopintegration_test.moc"
