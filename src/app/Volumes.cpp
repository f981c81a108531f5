#include "Volumes.h"

#include <QStorageInfo>

namespace {
Volumes *installed = nullptr;
}

Volumes &Volumes::instance()
{
    static SystemVolumes system;
    return installed ? *installed : static_cast<Volumes &>(system);
}

void Volumes::install(Volumes *v) { installed = v; }

QList<Volume> SystemVolumes::mounted() const
{
    QList<Volume> list;
    const QList<QStorageInfo> infos = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &info : infos) {
        if (info.isValid() && info.isReady())
            list.append({info.rootPath(), info.name()});
    }
    return list;
}

std::optional<QString> FindBackupDrive()
{
    const QList<Volume> list = Volumes::instance().mounted();
    for (const Volume &v : list) {
        if (v.label.contains(QLatin1String("BRIVOLA"), Qt::CaseInsensitive)) {
            QString drive = v.rootPath;
            while (drive.endsWith(QLatin1Char('/')) || drive.endsWith(QLatin1Char('\\')))
                drive.chop(1);
            return drive;
        }
    }
    return std::nullopt;
}
