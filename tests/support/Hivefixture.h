#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A settings location of one test's own: XDG_CONFIG_HOME points into a fresh
// temporary directory while the fixture lives, and back afterwards.
class HiveFixture {
public:
    HiveFixture();
    ~HiveFixture();
    HiveFixture(const HiveFixture&) = delete;
    HiveFixture& operator=(const HiveFixture&) = delete;

    QString Root() const { return Directory.path(); }
    QString ConfigHome() const { return Root() + QStringLiteral("/config"); }
    QString VellimorDirectory() const { return ConfigHome() + QStringLiteral("/vellimor"); }
    QString HivePath() const { return VellimorDirectory() + QStringLiteral("/user.reg"); }

    // Writes the hive file as a person would, making its directory first.
    void WriteHive(const QByteArray& bytes) const;
    // The hive file's bytes; empty when there is none.
    QByteArray HiveBytes() const;

private:
    QTemporaryDir Directory;
    QByteArray PreviousConfigHome;
    bool HadConfigHome;
};
