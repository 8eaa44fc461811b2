#pragma once
// Stands in for the desktop opener: an "xdg-open" script first on PATH that records the
// arguments it was started with and the folder it was started in.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace tremira::testing {

// Puts a folder first on PATH (or makes it the whole PATH) for the life of the object.
class PathOverride {
public:
    PathOverride(const QString &folder, bool keepRest) : m_saved(qgetenv("PATH")) {
        QByteArray path = QFile::encodeName(folder);
        if (keepRest) path += ':' + m_saved;
        qputenv("PATH", path);
    }
    ~PathOverride() { qputenv("PATH", m_saved); }
    PathOverride(const PathOverride &) = delete;
    PathOverride &operator=(const PathOverride &) = delete;

private:
    QByteArray m_saved;
};

class FakeOpener {
public:
    FakeOpener() : m_path(writeScript(), true) {}

    // The opener runs detached: wait until it has written its record.
    bool waitForCall() const {
        return QTest::qWaitFor([this] { return QFile::exists(record("done")); }, 10000);
    }
    QStringList arguments() const { return lines(record("args")); }
    QString workingFolder() const { return lines(record("cwd")).value(0); }

private:
    QString record(const char *name) const { return m_folder.filePath(QLatin1String(name)); }

    static QStringList lines(const QString &fileName) {
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString writeScript() {
        const QString folder = m_folder.path();
        QFile script(QDir(folder).filePath(QStringLiteral("xdg-open")));
        if (script.open(QIODevice::WriteOnly)) {
            script.write(
                QStringLiteral("#!/bin/sh\npwd > '%1/cwd'\nprintf '%s\\n' \"$@\" > '%1/args'\ntouch '%1/done'\n")
                    .arg(folder)
                    .toUtf8());
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return folder;
    }

    QTemporaryDir m_folder;
    PathOverride m_path;
};

// A PATH on which no opener can be found.
class NoOpener {
public:
    NoOpener() : m_path(m_folder.path(), false) {}

private:
    QTemporaryDir m_folder;
    PathOverride m_path;
};

}  // namespace tremira::testing
