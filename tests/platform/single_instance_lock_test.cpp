// The lock within one process: who holds it, and where it lives.

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/single_instance_lock.h"

#include <unistd.h>

using tremira::platform::SingleInstanceLock;

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("tremira.lock"));
    {
        SingleInstanceLock first(path);
        ASSERT_TRUE(first.tryAcquire());
        SingleInstanceLock second(path);
        EXPECT_FALSE(second.tryAcquire());
    }
    SingleInstanceLock afterwards(path);
    EXPECT_TRUE(afterwards.tryAcquire());
}

TEST(SingleInstanceLockPath, LiesInTheRuntimeFolderOrElseTheTemporaryFolderPerUser) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString inRuntime = tremira::platform::SingleInstanceLockPath();
    qunsetenv("XDG_RUNTIME_DIR");
    const QString inTemporary = tremira::platform::SingleInstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", saved);

    const QString fileName = QStringLiteral("/tremira-%1.lock").arg(::getuid());
    EXPECT_EQ(inRuntime, runtime.path() + fileName);
    EXPECT_EQ(inTemporary, QDir::tempPath() + fileName);
}
