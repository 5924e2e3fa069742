// Makes the README's pictures: the main window, the setup dialog and both
// pages of the configuration dialog, in English, each grabbed offscreen.
// Everything it lists and stores lies in a fixture directory of its own,
// removed at the end. Run through tools/screenshots.sh.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

#include "configuration/Tformconfiguration.h"
#include "mainwindow/Programidentity.h"
#include "mainwindow/Tformmain.h"
#include "setup/Tformlanguageselect.h"

namespace {

// A few files of the sizes a temporary directory holds.
void FillTemporaryDirectory(const QDir& temp) {
    const struct {
        const char* path;
        qint64 size;
    } files[] = {
        {"session-backup.tar", 1843200},     {"install.log", 18342},
        {"thumbnails/photo-0001.png", 48213}, {"thumbnails/photo-0002.png", 51977},
        {"build-cache/parser.o", 734208},     {"build-cache/lexer.o", 402944},
        {"print-job-17.pdf", 268411},
    };
    for (const auto& file : files) {
        const QString path = temp.filePath(QString::fromLatin1(file.path));
        temp.mkpath(QFileInfo(path).path());
        QFile out(path);
        if (out.open(QIODevice::WriteOnly)) out.resize(file.size);
    }
}

QStringList InstructionLines(TFormMain& window, qint32 language) {
    const qint32 remembered = window.Language;
    window.Language = language;
    QStringList lines{window.Translate(QStringLiteral("Instructions_L1")), QString(),
                      window.Translate(QStringLiteral("Instructions_L2")), QString(),
                      window.Translate(QStringLiteral("Instructions_L3")),
                      window.Translate(QStringLiteral("Instructions_L4"))};
    window.Language = remembered;
    return lines;
}

bool Save(QWidget& window, const QDir& output, const char* name) {
    window.show();
    QApplication::processEvents();
    const QString path = output.filePath(QString::fromLatin1(name));
    const bool saved = window.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIRECTORY\n", argv[0]);
        return 2;
    }
    const QTemporaryDir fixture(QDir::tempPath() + QStringLiteral("/vellimor-XXXXXX"));
    if (!fixture.isValid() || !QDir(fixture.path()).mkpath(QStringLiteral("tmp"))) {
        std::fputs("cannot make the fixture directory\n", stderr);
        return 1;
    }
    // The program's whole world: nothing real is listed or stored.
    qputenv("TMPDIR", QFile::encodeName(fixture.filePath(QStringLiteral("tmp"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(fixture.filePath(QStringLiteral("config"))));
    qputenv("HOME", QFile::encodeName(fixture.path()));
    QApplication application(argc, argv);
    const QDir output(QString::fromLocal8Bit(argv[1]));
    FillTemporaryDirectory(QDir(fixture.filePath(QStringLiteral("tmp"))));

    TFormMain window;
    window.TimerStartup.stop();
    window.Registry->WriteInteger(QStringLiteral("DeletedFiles"), 1342);
    window.Registry->WriteInteger(QStringLiteral("DeletedDirectories"), 57);
    window.RefreshFileList();
    bool saved = Save(window, output, "main-window.png");

    TFormLanguageSelect setup(&window, ProgramName, RegistryKeyPath);
    setup.SetInstructions(0, InstructionLines(window, 0));
    setup.SetInstructions(1, InstructionLines(window, 1));
    setup.ResetDialog();
    saved = Save(setup, output, "setup-dialog.png") && saved;
    setup.hide();

    TFormConfiguration configuration(&window);
    saved = Save(configuration, output, "configuration-settings.png") && saved;
    configuration.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    saved = Save(configuration, output, "configuration-about.png") && saved;
    return saved ? 0 : 1;
}
