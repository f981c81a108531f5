#pragma once
// The data module: the two connections to the database and their transactions, the schema check
// and upgrade run at start, and (later) the shared datasets of every window.
#include "db/Firebird.h"

#include <QObject>
#include <QString>

class TdmGenerale : public QObject {
    Q_OBJECT
public:
    // The schema version this program works with.
    static inline const QString RequiredVersion = QStringLiteral("1.13");
    static constexpr int RequiredMajor = 1;
    static constexpr int RequiredMinor = 13;

    explicit TdmGenerale(QObject *parent = nullptr);
    ~TdmGenerale() override;

    // Start-up: service connection, schema check, settings row into AppConfig and onto the main
    // window, working connection, start-up timer. Throws DbError or db::Abort (after its message).
    void DataModuleCreate();

    // Opens the service connection DB0, checks the schema version, opens the settings row.
    void OpenDB0();
    void CloseDB0();
    // (Re)opens the working connection DB1 and its datasets.
    void OpenDatabase();
    void CloseDatabase();
    bool isDatabaseOpen() const { return DB1.isOpen(); }

    void CheckVersion();
    bool UpgradeVersion(const QString &version);
    // The schema version read through DB0; "0" when it cannot be read.
    QString ReadVersion();
    // The major and minor numbers of a version text ("1.13" gives 1 and 13, "0" gives 0 and 0).
    // Throws db::DbError when a number cannot be read.
    struct VersionNumbers {
        int major = 0, minor = 0;
    };
    static VersionNumbers ParseVersion(const QString &version);

    // The database file: DBPath followed by "db.fdb".
    static QString databaseFile();
    static db::ConnectParams connectParams();

    // The settings row read by OpenDB0 (codici).
    struct Codici {
        QString codiceCert, passRic, identificativo, piva;
    };
    const Codici &codici() const { return codici_; }

    bool PendingChanges = false;

    db::Attachment DB0;
    db::Attachment DB1;
    db::Transaction ta0{DB0};
    db::Transaction ta1{DB1};
    db::Transaction taKeyGen{DB1};

private:
    void readCodici();
    Codici codici_;
};

// The one data module of the program run, created by the main window.
extern TdmGenerale *dmGenerale;
