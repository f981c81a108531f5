#pragma once
// Small fixtures of the shell's tests: a temporary program folder and a replaceable list of disks.
#include "app/Volumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A temporary folder standing for the program's own folder.
class TempProgramFolder {
public:
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return path() + name; }

    void write(const QString &name, const QByteArray &content) const
    {
        QDir().mkpath(QFileInfo(file(name)).absolutePath());
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file(name)));
    }

    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};

// The disks the program sees, installed for the lifetime of the object.
class FakeVolumes : public Volumes {
public:
    explicit FakeVolumes(QList<Volume> list = {}) : list_(std::move(list)) { Volumes::install(this); }
    ~FakeVolumes() override { Volumes::install(nullptr); }
    QList<Volume> mounted() const override { return list_; }
    void set(QList<Volume> list) { list_ = std::move(list); }

private:
    QList<Volume> list_;
};
