#pragma once
// The data module: the two connections to the database and their transactions, the schema check
// and upgrade run at start, and (later) the shared datasets of every window.
#include "db/DataSet.h"
#include "db/Firebird.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

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

    // --- datasets of the working connection ----------------------------------------------------
    // A dataset on ta1 owned by owner (the data module or a window), registered so that opening
    // the connection opens it, and Save, Cancel and Refresh reach it. Order of creation is kept.
    db::DataSet *CreateDataSet(const QString &name, QObject *owner);
    // Every registered dataset still alive, in order of creation.
    std::vector<db::DataSet *> WorkingDataSets() const;

    // The shared lists and datasets.
    db::DataSet *qUnitaMis = nullptr;
    db::DataSet *qTipiDoc = nullptr;
    db::DataSet *qCatIngr = nullptr;
    db::DataSet *qCatRic = nullptr;
    db::DataSet *qCatStato = nullptr;
    db::DataSet *qCatIngrF = nullptr;
    db::DataSet *qCatRicF = nullptr;
    db::DataSet *tabTDominio = nullptr;
    db::DataSet *tabDomini = nullptr;
    db::DataSet *tabCalorie = nullptr;
    db::DataSet *qGenerica = nullptr;
    db::DataSet *tabAnag = nullptr;   // suppliers

    // --- shared rules ------------------------------------------------------------------------
    // Puts a new key from the keygen counter into keyField of the record being inserted. A "No"
    // to the retry question abandons the insertion (db::Abort).
    void GetNewKey(db::DataSet &ds, const QString &keyField, const QString &counter);
    // Something changed: Save and Cancel become available.
    void AfterChange(db::DataSet *ds = nullptr);
    // Assign only when different: no edit starts when the field already holds the value.
    static void AssignString(db::Field &f, const QString &value);
    static void AssignInteger(db::Field &f, qint64 value);
    static void AssignDecimal(db::Field &f, db::Decimal value);
    // "<favourites> su <all articles>".
    QString DaiPreferiti();
    // Re-reads the category pickers after a category was posted or deleted.
    void AggiornaCategorie();
    void tabDominiNewRecord(db::DataSet &ds);
    // Supplier rules: a new key, the checks of the tax identifiers (the user may keep a wrong
    // one), the company name required, no deletion of a supplier that has loads.
    void tabAnagNewRecord(db::DataSet &ds);
    void tabAnagPART_IVAValidate(db::Field &f);
    void tabAnagCOD_FISCValidate(db::Field &f);
    void tabAnagBeforePost(db::DataSet &ds);
    void tabAnagBeforeDelete(db::DataSet &ds);
    // The article searches of the ingredient and recipe windows: the lookup list of articles,
    // moving dataset to the chosen one (true when it moved).
    bool ListaArticoli(db::DataSet &dataset, const QString &filter);
    bool ListaRicette(db::DataSet &dataset);
    bool ListaIngredienti(db::DataSet &dataset, bool onlyFavourites);
    // One-off statement on qGenerica: cleared, given sql, opened.
    db::DataSet &Generica(const QString &sql);
    // The question of the key generator after three failed attempts (replaceable by tests).
    std::function<bool()> AskKeyRetry;

private:
    void readCodici();
    void createSharedDataSets();
    Codici codici_;
    std::vector<QPointer<db::DataSet>> working_;
};

// The one data module of the program run, created by the main window.
extern TdmGenerale *dmGenerale;
