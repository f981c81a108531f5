#pragma once
// The configuration and installation values of the program run, readable everywhere.
#include <QString>

inline const QString ProgramVersion = QStringLiteral("2.1.2");

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
