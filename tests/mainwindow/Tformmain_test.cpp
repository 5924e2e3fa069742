#include "Mainwindowtesting.h"

#include <QAbstractItemModel>
#include <QApplication>

#include <sys/stat.h>

#include "mainwindow/Filelistmodel.h"

class TformmainTest : public QObject {
    Q_OBJECT

private slots:
    void constructionShowsEnglishTextsAndNoFiles() {
        MainWindowFixture f;
        QCOMPARE(f.Window->windowTitle(), QStringLiteral("Vellimor 1.0"));
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Vellimor 1.0"));
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Delete files"));
        QCOMPARE(f.Form().Label1->text(), QStringLiteral("Temporary files"));
        QCOMPARE(f.Form().cmdConfigure->toolTip(), QStringLiteral("Configure"));
        QCOMPARE(f.Summary(), QStringLiteral("Files: 0 (0.0 MB)"));
        QCOMPARE(f.Form().cmdConfigure->icon().pixmap(16, 16).size(), QSize(16, 16));
        QCOMPARE(f.Window->CountdownSeconds, 5u);
        QCOMPARE(f.Window->Language, 0);
        QVERIFY(f.Window->TimerAutoStart.interval() == 1000 && !f.Window->TimerAutoStart.isActive());
        QVERIFY(f.Window->Timer1.isActive());
        QVERIFY(f.Form().lb1->uniformItemSizes());
        QVERIFY(f.Messages.Texts().isEmpty());
    }

    void summaryLine_data() {
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << QList<qint64>{} << "Files: 0 (0.0 MB)";
        QTest::newRow("three half megabytes") << QList<qint64>{524288, 524288, 524288} << "Files: 3 (1.5 MB)";
        QTest::newRow("one byte") << QList<qint64>{1} << "Files: 1 (0.0 MB)";
        QTest::newRow("five GiB") << QList<qint64>{5368709120LL} << "Files: 1 (5120.0 MB)";
    }
    void summaryLine() {
        QFETCH(QList<qint64>, sizes);
        QFETCH(QString, expected);
        MainWindowFixture f;
        for (int i = 0; i < sizes.size(); ++i) f.Temp.SparseFile("f" + std::to_string(i), sizes[i]);
        f.Window->RefreshFileList();
        QCOMPARE(f.Summary(), expected);
        QCOMPARE(f.Window->FileCount, sizes.size());
    }

    void listingKeepsTheWalkOrderAndNeverListsDirectories() {
        MainWindowFixture f;
        f.Temp.File("a");
        f.Temp.File("S/b");
        f.Temp.File("S/U/c");
        f.Temp.Directory("empty");
        f.Temp.File(".hidden");
        QVERIFY(chmod(f.Temp.Path("a").c_str(), 0444) == 0);
        f.Window->RefreshFileList();
        std::vector<std::string> listed = f.Listed();
        QCOMPARE(listed.size(), 4u);
        const auto at = [&](const char* p) { return std::find(listed.begin(), listed.end(), f.Temp.Path(p)) - listed.begin(); };
        QVERIFY(at("S/U/c") < at("S/b"));
        QVERIFY(at("S/b") < at("a") && at("S/b") < at(".hidden"));
        QCOMPARE(f.Window->RootDirectories->size(), 1u);
        QCOMPARE(f.Window->RootDirectories->front(), f.Temp.Root());
    }

    void rowsShowPathsOnOneLineWithEscapes() {
        QCOMPARE(DisplayPath("/t/new\nline"), QStringLiteral("/t/new\\nline"));
        QCOMPARE(DisplayPath("/t/tab\there"), QStringLiteral("/t/tab\\there"));
        QCOMPARE(DisplayPath("/t/bad\xff"), QStringLiteral("/t/bad\\xff"));
        QCOMPARE(DisplayPath("/t/\xc3\x9c" "ber"), QStringLiteral("/t/Über"));
        QCOMPARE(DisplayPath("/t/\xc3"), QStringLiteral("/t/\\xc3"));  // cut-off sequence
        QCOMPARE(DisplayPath("/t/bell\x07"), QStringLiteral("/t/bell\\x07"));
        QCOMPARE(DisplayPath("/t/ trailing "), QStringLiteral("/t/ trailing "));

        MainWindowFixture f;
        f.Temp.File("new\nline");
        f.Window->RefreshFileList();
        QAbstractItemModel* model = f.Form().lb1->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->data(model->index(0, 0)).toString(),
                 QString::fromStdString(f.Temp.Root()) + QStringLiteral("new\\nline"));
    }

    void applyLanguageRewritesTextsWithoutRescanning() {
        MainWindowFixture f;
        f.Temp.File("x", std::string(1048576, 'x'));
        f.Window->RefreshFileList();
        f.Temp.File("y");  // not listed until the next refresh
        f.Window->Language = 1;
        f.Window->ApplyLanguage();
        QCOMPARE(f.Summary(), QStringLiteral("Dateien: 1 (1.0 MB)"));
        QCOMPARE(f.Form().cmdClear->text(), QStringLiteral("Dateien löschen"));
        QCOMPARE(f.Form().Label1->text(), QStringLiteral("Temporäre Dateien"));
        QCOMPARE(f.Form().cmdConfigure->toolTip(), QStringLiteral("Einstellungen"));
        QCOMPARE(f.Window->windowTitle(), QStringLiteral("Vellimor 1.0"));
    }

    void missingTemporaryDirectoryListsNothing() {
        MainWindowFixture f;
        f.Temp.File("x");
        qputenv("TMPDIR", QByteArray::fromStdString(f.Temp.Path("missing")));
        // $TMPDIR that does not exist falls back to the system's; the walk itself of a
        // missing directory yields nothing.
        PathList files;
        SizeList sizes;
        f.Window->Functions->FindFilesAndSizes(files, sizes, f.Temp.Path("missing"), "*.*", true);
        QVERIFY(files.Empty());
    }

    void statusTextExpiresOnTheFourthTick() {
        MainWindowFixture f;
        f.Form().StatusBar1->showMessage(QStringLiteral("hello"));
        for (int tick = 1; tick <= 3; ++tick) {
            f.Window->Timer1Timer();
            QCOMPARE(f.Status(), QStringLiteral("hello"));
        }
        f.Window->Timer1Timer();
        QCOMPARE(f.Status(), QString());
        QCOMPARE(f.Window->StatusTicks, 0);
        f.Window->StatusTicks = 2;
        f.Window->Timer1Timer();  // an empty status bar keeps the count at 0
        QCOMPARE(f.Window->StatusTicks, 0);
    }

    void homeOrRootAsTemporaryDirectoryIsRefused() {
        MainWindowFixture f;
        f.Temp.File("precious");
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QByteArray::fromStdString(f.Temp.Path("")));
        f.Window->RefreshFileList();
        qputenv("HOME", savedHome);
        QCOMPARE(f.Window->FileCount, 0);
        QVERIFY(f.Window->ListedFiles().Empty());
        QCOMPARE(f.Messages.Texts().size(), 1);
        f.Window->ClearListedFiles();
        QVERIFY(QFile::exists(QString::fromStdString(f.Temp.Path("precious"))));
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C");  // the decimal separator of no regional settings: "."
    QApplication application(argc, argv);
    TformmainTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Tformmain_test.moc"
