#include "dmGenerale.h"

#include "ScriptRunner.h"
#include "app/AppConfig.h"
#include "app/frmMain.h"
#include "ui/Prompter.h"

#include <QFile>
#include <QTimer>

TdmGenerale *dmGenerale = nullptr;

namespace {

// Delphi's StrToInt: an integer with optional blanks before it, or a conversion error whose text
// stops the start like any other error.
int strToInt(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || text.isEmpty() || text.back().isSpace())
        throw db::DbError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

} // namespace

TdmGenerale::TdmGenerale(QObject *parent) : QObject(parent) {}

TdmGenerale::~TdmGenerale()
{
    if (dmGenerale == this)
        dmGenerale = nullptr;
}

db::ConnectParams TdmGenerale::connectParams()
{
    db::ConnectParams p;
    p.user = QStringLiteral("sysdba");
    p.password = QStringLiteral("frostvane");
    p.charset = QStringLiteral("UTF8");
    return p;
}

QString TdmGenerale::databaseFile() { return AppConfig().DBPath + QStringLiteral("db.fdb"); }

void TdmGenerale::DataModuleCreate()
{
    OpenDB0();
    AppConfigData &cfg = AppConfig();
    cfg.RecipePassword = codici_.passRic;
    cfg.CompanyName = codici_.identificativo;
    cfg.VatNumber = codici_.piva;
    if (frmMain) {
        frmMain->ShowCompanyData(cfg.CompanyName, cfg.VatNumber, codici_.codiceCert);
        frmMain->RefreshCaption();
    }
    CloseDB0();
    OpenDatabase();
    if (frmMain)
        frmMain->Timer1->start();
}

void TdmGenerale::OpenDB0()
{
    CloseDB0();
    DB0.open(databaseFile(), connectParams());
    CheckVersion();
    readCodici();
}

void TdmGenerale::CloseDB0()
{
    if (DB0.isOpen())
        DB0.close();
}

void TdmGenerale::readCodici()
{
    db::Statement q(ta0, QStringLiteral("SELECT codice_cert, pass_ric, identificativo, piva FROM codici"));
    auto rs = q.open();
    codici_ = Codici();
    if (rs->next()) {
        codici_.codiceCert = rs->value(0).toString();
        codici_.passRic = rs->value(1).toString();
        codici_.identificativo = rs->value(2).toString();
        codici_.piva = rs->value(3).toString();
    }
}

void TdmGenerale::OpenDatabase()
{
    PendingChanges = false;
    CloseDatabase();
    DB1.open(databaseFile(), connectParams());
    ta1.start();
}

void TdmGenerale::CloseDatabase()
{
    if (DB1.isOpen())
        DB1.close();
}

QString TdmGenerale::ReadVersion()
{
    try {
        db::Statement q(ta0, QStringLiteral("SELECT version FROM dummy"), false);
        auto rs = q.open();
        if (!rs->next())
            return QStringLiteral("0");
        const QVariant v = rs->value(0);
        return v.isNull() ? QString() : v.toString();
    } catch (const db::DbError &) {
        return QStringLiteral("0");
    }
}

TdmGenerale::VersionNumbers TdmGenerale::ParseVersion(const QString &version)
{
    const int point = version.indexOf(QLatin1Char('.'));
    VersionNumbers n;
    if (point < 0) {
        n.major = strToInt(version);
        n.minor = strToInt(version.left(2));
    } else {
        n.major = strToInt(version.left(point));
        n.minor = strToInt(version.mid(point + 1, 2));
    }
    return n;
}

void TdmGenerale::CheckVersion()
{
    const QString version = ReadVersion();
    if (version == RequiredVersion)
        return;
    const VersionNumbers n = ParseVersion(version);
    if (n.major != RequiredMajor) {
        ui::prompter().info(QStringLiteral("Aggiornare il database alla versione %1.00 prima di continuare!")
                                .arg(RequiredMajor));
        db::abort();
    }
    for (int m = n.minor + 1; m <= RequiredMinor; ++m) {
        const QString v = QStringLiteral("%1.%2").arg(RequiredMajor).arg(m, 2, 10, QLatin1Char('0'));
        if (!UpgradeVersion(v))
            db::abort();
    }
}

bool TdmGenerale::UpgradeVersion(const QString &version)
{
    const QString file = AppConfig().ProgramFolder + QStringLiteral("Sql/DB_v_") + version + QStringLiteral(".sql");
    if (!QFile::exists(file)) {
        ui::prompter().info(QStringLiteral("Non trovo il file %1, aggiornare il database GENERALE alla versione %2 "
                                           "manualmente prima di continuare!")
                                .arg(file, version));
        return false;
    }
    const QString failed = QStringLiteral("Errore nell'aggiornamento del database GENERALE alla versione %1! "
                                          "Aggiornare manualmente prima di continuare!")
                               .arg(version);
    try {
        runScriptLines(ta0, readScriptFile(file));
    } catch (const ScriptFailure &) {
        // Nothing of a failed script may survive: a later commit of ta0 must not apply half of it.
        try {
            ta0.rollbackRetaining();
        } catch (const db::DbError &) {
        }
        ui::prompter().info(failed);
        return false;
    } catch (const db::DbError &) {
        ui::prompter().info(failed);
        return false;
    }
    if (ta0.isActive())
        ta0.commitRetaining();
    if (ReadVersion() != version) {
        ui::prompter().info(failed);
        return false;
    }
    ui::prompter().info(QStringLiteral("Aggiornamento del database alla versione %1 riuscito!").arg(version));
    return true;
}
