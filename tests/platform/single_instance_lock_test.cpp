// The lock within one process: who holds it, and where it lives.

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/single_instance_lock.h"

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

TEST(SingleInstanceLockPath, LiesInTheRuntimeFolderOrElseTheTemporaryFolder) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    const QString path = tremira::platform::SingleInstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_TRUE(path.startsWith(runtime.path() + QLatin1Char('/'))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral(".lock"))) << path.toStdString();
}
