#pragma once
// The disks mounted on this machine and the backup drive among them. The list comes from an
// installable source so tests can put a temporary folder in place of a removable disk.
#include <QList>
#include <QString>
#include <optional>

struct Volume {
    QString rootPath;   // where the disk is mounted ("/media/user/USB", "E:/")
    QString label;      // the disk's volume name
};

class Volumes {
public:
    virtual ~Volumes() = default;
    // The mounted disks, in the order the system lists them.
    virtual QList<Volume> mounted() const = 0;

    static Volumes &instance();
    // Installs v (not owned); nullptr restores the system's list.
    static void install(Volumes *v);
};

// The system's list of mounted, ready file systems.
class SystemVolumes : public Volumes {
public:
    QList<Volume> mounted() const override;
};

// The backup drive: the first disk whose volume name contains "BRIVOLA" (in any case). Its root
// path is returned without a trailing separator, so "/Brivola" can be appended to it (the root of
// the whole file system gives an empty string). Nothing when no disk qualifies.
std::optional<QString> FindBackupDrive();
