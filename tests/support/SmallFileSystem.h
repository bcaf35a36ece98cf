#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <sys/mount.h>

namespace tracella::test {

// A 64 KiB file system of its own, to fill or to make read-only; mounting
// needs the superuser, so a test checks mounted() first.
class SmallFileSystem {
public:
    SmallFileSystem() { mounted_ = ::mount("tmpfs", folder(), "tmpfs", 0, "size=64k") == 0; }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount(folder());
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    bool makeReadOnly() { return ::mount("tmpfs", folder(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    const char* folder()
    {
        path_ = QFile::encodeName(folder_.path());
        return path_.constData();
    }

    QTemporaryDir folder_;
    QByteArray path_;
    bool mounted_ = false;
};

} // namespace tracella::test
