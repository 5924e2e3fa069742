#include "support/Hivefixture.h"

#include <QDir>
#include <QFile>

HiveFixture::HiveFixture()
    : PreviousConfigHome(qgetenv("XDG_CONFIG_HOME")), HadConfigHome(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
}

HiveFixture::~HiveFixture() {
    if (HadConfigHome) {
        qputenv("XDG_CONFIG_HOME", PreviousConfigHome);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

void HiveFixture::WriteHive(const QByteArray& bytes) const {
    QDir().mkpath(VellimorDirectory());
    QFile file(HivePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the hive fixture %s", qPrintable(HivePath()));
}

QByteArray HiveFixture::HiveBytes() const {
    QFile file(HivePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
