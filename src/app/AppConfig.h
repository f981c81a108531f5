#pragma once
// The configuration and installation values of the program run, readable everywhere.
#include <QString>

inline const QString ProgramVersion = QStringLiteral("2.1.2");

// The support hotline used when Brivola.ini does not name one (or cannot be read).
inline const QString DefaultAssistTel = QStringLiteral("+39 0521 290741");

struct AppConfigData {
    QString ProgramFolder;   // folder of the executable, always ending with "/"
    QString DBPath;          // folder (or "host:folder/") of db.fdb, ending with a separator
    QString AssistTel;       // hotline telephone number
    bool ControlloAgg = true;
    bool AutoBackup = true;
    QString BackupDrive;     // root path of the backup drive, empty when there is none
    QString CompanyName;
    QString VatNumber;
    QString RecipePassword;
};

AppConfigData &AppConfig();

// The configuration files, all in ProgramFolder.
QString BrivolaIniPath();
QString FirebirdIniPath();

// Reads AssistTel, ControlloAgg and AutoBackup from Brivola.ini. A missing or unreadable file
// gives the built-in hotline and both switches on, without any message. A key that is missing
// from a readable file gives an empty hotline, or a switch that is on.
void ReadBrivolaIni(AppConfigData &config);

// Reads DBPath from firebird.ini; a missing file, a read error, a missing key or an empty value
// leaves the database in ProgramFolder.
void ReadFirebirdIni(AppConfigData &config);
