#include "AppConfig.h"

#include "IniFile.h"

#include <QFileInfo>

AppConfigData &AppConfig()
{
    static AppConfigData config;
    return config;
}

QString BrivolaIniPath() { return AppConfig().ProgramFolder + QStringLiteral("Brivola.ini"); }
QString FirebirdIniPath() { return AppConfig().ProgramFolder + QStringLiteral("firebird.ini"); }

namespace {
// A switch is off only when its value is exactly "0"; anything else, a missing key included, is on.
bool switchValue(const IniFile &ini, const QString &key)
{
    return ini.value(key).value_or(QString()) != QLatin1String("0");
}
} // namespace

void ReadBrivolaIni(AppConfigData &config)
{
    config.AssistTel = DefaultAssistTel;
    config.ControlloAgg = true;
    config.AutoBackup = true;

    const QString path = config.ProgramFolder + QStringLiteral("Brivola.ini");
    if (!QFileInfo::exists(path))
        return;
    IniFile ini;
    if (!ini.load(path))
        return;   // unreadable: the defaults, without a message
    config.AssistTel = ini.value(QStringLiteral("AssistTel")).value_or(QString());
    config.ControlloAgg = switchValue(ini, QStringLiteral("ControlloAgg"));
    config.AutoBackup = switchValue(ini, QStringLiteral("AutoBackup"));
}

void ReadFirebirdIni(AppConfigData &config)
{
    config.DBPath.clear();
    const QString path = config.ProgramFolder + QStringLiteral("firebird.ini");
    IniFile ini;
    if (QFileInfo::exists(path) && ini.load(path))
        config.DBPath = ini.value(QStringLiteral("DBPath")).value_or(QString());
    if (config.DBPath.isEmpty())
        config.DBPath = config.ProgramFolder;
}
