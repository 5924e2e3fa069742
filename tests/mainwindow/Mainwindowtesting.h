#pragma once

#include <QtTest>

#include <memory>

#include "mainwindow/Tformmain.h"
#include "support/Fixture.h"
#include "support/Hivefixture.h"
#include "support/Messagerecorder.h"
#include "ui_Tformmain.h"

// A main window over a temporary directory and settings of the test's own;
// the start-up timer is stopped so that each test runs the steps it names.
struct MainWindowFixture {
    FixtureTree Temp;
    HiveFixture Hive;
    MessageRecorder Messages;
    QByteArray SavedTmpdir = qgetenv("TMPDIR");
    std::unique_ptr<TFormMain> Window;

    MainWindowFixture() {
        qputenv("TMPDIR", QByteArray::fromStdString(Temp.Root()));
        Window = std::make_unique<TFormMain>();
        Window->TimerStartup.stop();
    }
    ~MainWindowFixture() {
        Window.reset();
        qputenv("TMPDIR", SavedTmpdir);
    }
    Ui::FormMain& Form() { return Window->Components(); }
    QString Status() { return Form().StatusBar1->currentMessage(); }
    QString Summary() { return Form().Label2->text(); }
    std::vector<std::string> Listed() {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < Window->ListedFiles().Count(); ++i) paths.push_back(Window->ListedFiles()[i]);
        return paths;
    }
};
