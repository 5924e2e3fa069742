// Clearing the listed files and the automatic countdown.
#include <QApplication>

#include <algorithm>

#include "mainwindow/Filelistmodel.h"
#include "mainwindow/Tformmain.h"
#include "platform/Filedeletion.h"
#include "settings/Settingslock.h"
#include "ui_Tformmain.h"

void TFormMain::cmdClearClick() {
    if (Form->cmdClear->text() == Translate(QStringLiteral("cmdClear2"))) {
        TimerAutoStart.stop();
        Form->cmdClear->setText(Translate(QStringLiteral("cmdClear")));
        SetSimpleText(QString());
        return;
    }
    ClearListedFiles();
}

platform::FileDeleter& TFormMain::Deleter() {
    if (!ClearingDeleter) {
        const std::string root = RootDirectories->empty() ? FunctionsWindows->GetTempDirectory() : RootDirectories->front();
        ClearingDeleter = std::make_unique<platform::FileDeleter>(root);
    }
    return *ClearingDeleter;
}

void TFormMain::ClearListedFiles() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qint32 deletedFiles = 0;
    // Which files are in use is read once per clearing, before its first deletion.
    ClearingDeleter.reset();

    const PathList& listed = Files->Paths();
    std::vector<std::string> paths;
    paths.reserve(listed.Count());
    for (std::size_t i = 0; i < listed.Count(); ++i) paths.push_back(listed[i]);
    // The same results as deleting one path after the other in list order.
    const std::vector<bool> gone = Deleter().DeleteListedFiles(paths);
    PathList remaining;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (gone[i])
            ++deletedFiles;
        else
            remaining.Add(paths[i]);
    }
    paths.clear();
    Files->SetPaths(std::move(remaining));

    const qint32 removedDirectories = RemoveEmptyDirectories();
    ClearingDeleter.reset();

    AddToTotals(deletedFiles, removedDirectories);
    SetSimpleText(Translate(QStringLiteral("msg2")) + QLatin1Char(' ') + QString::number(deletedFiles) +
                  QLatin1Char(' ') + Translate(QStringLiteral("msg3")) + QStringLiteral(", ") +
                  QString::number(removedDirectories) + QLatin1Char(' ') + Translate(QStringLiteral("msg4")));
    StatusTicks = 0;
    RefreshFileList();
    QApplication::restoreOverrideCursor();
}

void TFormMain::AddToTotals(qint32 files, qint32 directories) {
    const SettingsLock settingsLock;  // another copy clearing at the same time adds its own numbers
    const qint32 oldFiles = Registry->ReadInteger(QStringLiteral("DeletedFiles"));
    const qint32 oldDirectories = Registry->ReadInteger(QStringLiteral("DeletedDirectories"));
    // The totals wrap around as signed 32-bit numbers, as they are stored.
    const auto sum = [](qint32 a, qint32 b) {
        return static_cast<qint32>(static_cast<quint32>(a) + static_cast<quint32>(b));
    };
    Registry->WriteInteger(QStringLiteral("DeletedFiles"), sum(oldFiles, files));
    Registry->WriteInteger(QStringLiteral("DeletedDirectories"), sum(oldDirectories, directories));
}

bool TFormMain::DeleteListedFile(std::string_view path) {
    // Names are deleted exactly as listed: "a " and "a" are different files here.
    if (path.empty()) return false;
    return Deleter().DeleteListedFile(path);
}

qint32 TFormMain::RemoveEmptyDirectories() {
    PathList found;
    for (const std::string& root : *RootDirectories) Functions->FindDirectories(found, root, true);
    std::vector<std::string> directories;
    directories.reserve(found.Count());
    for (std::size_t i = 0; i < found.Count(); ++i) directories.push_back(found[i]);
    // Walked from the end, so each directory is tried after all directories below
    // it. A directory is removed only while it holds nothing at all, which is
    // the test for "holds no files" once the directories below it are gone.
    const std::vector<bool> removed = Deleter().RemoveDirectories(directories);
    return static_cast<qint32>(std::count(removed.begin(), removed.end(), true));
}

void TFormMain::TimerAutoStartTimer() {
    --CountdownSeconds;
    SetSimpleText(Translate(QStringLiteral("msg1")) + QLatin1Char(' ') + QString::number(CountdownSeconds) +
                  QLatin1Char(' ') +
                  Translate(CountdownSeconds == 1 ? QStringLiteral("second") : QStringLiteral("seconds")));
    StatusTicks = 0;
    if (CountdownSeconds > 0) return;
    TimerAutoStart.stop();
    SetSimpleText(QString());
    ClearListedFiles();
    close();
}
