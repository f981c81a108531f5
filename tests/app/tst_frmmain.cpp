// The main window's frame: menus, toolbar, caption, the company lines, the start-up timer, the
// pending-changes guard of the commands and the backup command.
#include "AppFixture.h"
#include "support/ScriptedPrompter.h"
#include "app/AppConfig.h"
#include "app/frmBackup.h"
#include "app/frmMain.h"
#include "app/frmPassword.h"
#include "ui/DBNavigator.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuBarIsExactlyTheProgramsMenus();
    void menusDisabledUntilTheStartupTimer();
    void administratorSubmenuReplacesItsItem();
    void toolbarInitialState_data();
    void toolbarInitialState();
    void navigatorHintsAndUnbound();
    void fixedCentredClientArea();
    void captionAndCompanyData();
    void canCloseRefusesWithPendingChanges();
    void windowCommandsWaitForSaveOrCancel_data();
    void windowCommandsWaitForSaveOrCancel();
    void windowCommandsSilentWithoutDatabase();
    void featuresInPreparationShowWorkingBox();
    void administratorPasswordUnlocksTheSubmenu();
    void backupDriveIsFirstVolumeNamedBrivola_data();
    void backupDriveIsFirstVolumeNamedBrivola();
    void backupCommand();

private:
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<TfrmMain> frm_;
};

void TestFrmMain::init()
{
    folder_ = std::make_unique<TempProgramFolder>();
    prompter_ = std::make_unique<ScriptedPrompter>();
    frm_ = std::make_unique<TfrmMain>(folder_->path());
}

void TestFrmMain::cleanup()
{
    frm_.reset();
    prompter_.reset();
    folder_.reset();
}

namespace {

// The menu bar written out: "name|caption" per entry, items indented, "-" for a separator,
// "(hidden)" after an entry that is not visible.
QStringList describe(const QList<QAction *> &actions, const QString &indent = QString())
{
    QStringList out;
    for (QAction *a : actions) {
        if (a->isSeparator()) {
            out << indent + QStringLiteral("-");
            continue;
        }
        out << indent + a->objectName() + QLatin1Char('|') + a->text() +
                   (a->isVisible() ? QString() : QStringLiteral(" (hidden)"));
        if (a->menu())
            out << describe(a->menu()->actions(), indent + QStringLiteral("  "));
    }
    return out;
}

QList<QAction *> menuItems(const TfrmMain &frm)
{
    QList<QAction *> items;
    for (QAction *top : frm.menuBar()->actions()) {
        if (top->menu())
            items << top->menu()->actions();
    }
    return items;
}

} // namespace

void TestFrmMain::menuBarIsExactlyTheProgramsMenus()
{
    const QStringList expected = {
        "Registrazioni1|&Registrazioni",
        "  Caricomagazzino1|&Carico magazzino",
        "  Produzione1|&Produzione",
        "  Altriusi1|Altri usi",
        "Riepiloghi1|Ri&epiloghi",
        "Fornitori1|&Fornitori",
        "  Anagrafica1|&Anagrafica",
        "Ingredienti1|&Ingredienti",
        "  Tabellaingredienti1|&Tabella ingredienti",
        "  Titolazioneingrediente1|&Titolazione ingrediente",
        "  -",
        "  Visualizzamagazzino1|&Visualizza magazzino",
        "Ricette1|Ri&cette",
        "  GestionesistemaRizododo1|Gestione sistema &Rizododo",
        "  GestionesistemaVelmonti1|Gestione sistema &Velmonti",
        "  -",
        "  Tabellaricette1|&Tabella ricette",
        "Assistenza1|&Assistenza",
        "  Informazioni1|&Informazioni",
        "  Controllaaggiornamentiora1|&Controlla aggiornamenti ora",
        "  ControllaAggAutomat1|Controllo aggiornamenti automatico",
        "  -",
        "  Teleassistenzaremota1|Teleassistenza &remota",
        "  Hotlinetelefonica1|Hotline (&telefonica)",
        "  HotlineSkype1|Hotline (&Skype)",
        "  -",
        "  Amministratore1|&Amministratore",
        "  Amministratore2|&Amministratore (hidden)",
        "    Categorie1|&Categorie",
        "    Parametri1|&Parametri",
        "    Preferenze1|Preferenze",
        "Impostazioni1|I&mpostazioni",
        "  Tastisceltarapida1|Tasti &scelta rapida",
        "  Backuparchivi1|&Backup archivi",
        "  Parametribilanciamento1|&Parametri bilanciamento",
        "Uscita1|&Uscita",
        "  Termina1|&Termina programma",
    };
    QCOMPARE(describe(frm_->menuBar()->actions()), expected);
    QVERIFY(frm_->ControllaAggAutomat1->isCheckable());

    // "Tabella Fornitori" is a command without a menu entry.
    QAction *tabella = frm_->findChild<QAction *>(QStringLiteral("TabellaFornitori1"));
    QVERIFY(tabella);
    QCOMPARE(tabella->text(), QStringLiteral("&Tabella Fornitori"));
    QVERIFY(!menuItems(*frm_).contains(tabella));
}

void TestFrmMain::menusDisabledUntilTheStartupTimer()
{
    const QList<QAction *> bar = frm_->menuBar()->actions();
    for (QAction *a : bar)
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    for (QAction *a : menuItems(*frm_)) {
        if (!a->isSeparator() && !a->menu())
            QVERIFY2(!a->isEnabled() || frm_->Amministratore2->actions().contains(a), qPrintable(a->objectName()));
    }

    // The data module starts the timer when the database is open; the tick enables everything once.
    QVERIFY(!frm_->Timer1->isActive());
    QVERIFY(frm_->Timer1->isSingleShot());
    QCOMPARE(frm_->Timer1->interval(), 1000);
    frm_->Timer1->start();
    QTRY_VERIFY_WITH_TIMEOUT(frm_->Caricomagazzino1->isEnabled(), 3000);
    QVERIFY(!frm_->Timer1->isActive());
    for (QAction *a : bar)
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    for (QAction *a : menuItems(*frm_)) {
        if (a->isVisible())
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }
    prompter_->verifyDone();
}

void TestFrmMain::administratorSubmenuReplacesItsItem()
{
    frm_->AbilitaMenu();
    frm_->ShowAdminMenu();
    QVERIFY(!frm_->Amministratore1->isVisible());
    QVERIFY(frm_->Amministratore2->menuAction()->isVisible());
    QVERIFY(frm_->Amministratore2->menuAction()->isEnabled());
    for (QAction *a : {frm_->Categorie1, frm_->Parametri1, frm_->Preferenze1})
        QVERIFY2(a->isEnabled() && a->isVisible(), qPrintable(a->objectName()));
}

void TestFrmMain::toolbarInitialState_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");

    QTest::newRow("SpeedButton1") << "SpeedButton1" << "" << "Registrazione operazioni" << true << true;
    QTest::newRow("SpeedButton2") << "SpeedButton2" << "Lista (F3)" << "" << true << false;
    QTest::newRow("sbCommit") << "sbCommit" << "&Salva" << "Memorizza le modifiche nel database [F10]" << false << true;
    QTest::newRow("sbRollback") << "sbRollback" << "&Annulla" << "Annulla le modifiche nel database [F8]" << false
                                << true;
    QTest::newRow("sbRefresh") << "sbRefresh" << "A&ggiorna" << "Ricarica i dati dal database [F5]" << true << true;
    QTest::newRow("sbPrint") << "sbPrint" << "S&tampa" << "" << false << true;
    QTest::newRow("sbGrid") << "sbGrid" << "Grid" << "" << false << true;
    QTest::newRow("sbExport") << "sbExport" << "&Export" << "" << false << true;
    QTest::newRow("sbExit") << "sbExit" << "Esci" << "" << true << true;
}

void TestFrmMain::toolbarInitialState()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);

    frm_->show();
    auto *b = frm_->findChild<QToolButton *>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    QCOMPARE(b->toolTip(), hint);
    QCOMPARE(b->isEnabled(), enabled);
    QCOMPARE(b->isVisible(), visible);
    QVERIFY(frm_->Panel1->isAncestorOf(b));
}

void TestFrmMain::navigatorHintsAndUnbound()
{
    const QStringList hints = {"Primo", "Precedente", "Successivo", "Ultimo", "Nuovo [Ctrl+Ins]",
                               "Cancella [Ctrl+Canc]"};
    for (int i = 0; i < ui::DBNavigator::ButtonCount; ++i) {
        QToolButton *b = frm_->DBNavigator1->button(static_cast<ui::DBNavigator::Button>(i));
        QCOMPARE(b->toolTip(), hints.at(i));
        QVERIFY(!b->isEnabled());
    }
    // Left to right: the operations button, the navigator, Save ... Exit.
    frm_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm_.get()));
    QVERIFY(frm_->SpeedButton1->x() < frm_->DBNavigator1->x());
    QVERIFY(frm_->DBNavigator1->x() < frm_->sbCommit->x());
    int x = frm_->sbCommit->x();
    for (QToolButton *b : {frm_->sbRollback, frm_->sbRefresh, frm_->sbPrint, frm_->sbGrid, frm_->sbExport, frm_->sbExit}) {
        QVERIFY2(b->x() > x, qPrintable(b->objectName()));
        x = b->x();
    }
}

void TestFrmMain::fixedCentredClientArea()
{
    frm_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm_.get()));
    QCOMPARE(frm_->centralWidget()->size(), QSize(1014, 683));
    QCOMPARE(frm_->minimumSize(), frm_->maximumSize());
    QCOMPARE(frm_->Panel1->height(), 60);
    QCOMPARE(frm_->MDIArea->geometry().top(), 60);
    QCOMPARE(frm_->MDIArea->height(), 683 - 60);
}

void TestFrmMain::captionAndCompanyData()
{
    QCOMPARE(frm_->windowTitle(), QStringLiteral("Brivola - Versione 2.1.2"));

    // What the data module does once it has read the settings row.
    AppConfig().CompanyName = QStringLiteral("Gelateria Aurora di Rossi & C.");
    frm_->ShowCompanyData(AppConfig().CompanyName, QStringLiteral("01234567890"), QStringLiteral("A-117"));
    frm_->RefreshCaption();

    QCOMPARE(frm_->windowTitle(), QStringLiteral("Brivola - Versione 2.1.2 - Gelateria Aurora di Rossi & C."));
    QCOMPARE(frm_->lblCompanyName->text(), QStringLiteral("Gelateria Aurora di Rossi & C."));
    QCOMPARE(frm_->lblVatNumber->text(), QStringLiteral("01234567890"));
    QCOMPARE(frm_->lblCertificazione->text(), QStringLiteral("Certificazione nr. A-117"));
    frm_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frm_.get()));
    QVERIFY(frm_->lblCompanyName->x() < frm_->lblVatNumber->x());
    QVERIFY(frm_->lblCompanyName->y() < frm_->lblCertificazione->y());
    QVERIFY(frm_->lblCompanyName->isVisible());
}

void TestFrmMain::canCloseRefusesWithPendingChanges()
{
    QVERIFY(frm_->CanClose());

    frm_->sbCommit->setEnabled(true);   // what the data module's AfterChange does
    prompter_->expectInfo(QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare."));
    QVERIFY(!frm_->CanClose());
    prompter_->verifyDone();

    // While a record is added for a lookup list, the pending insert does not block.
    frm_->InsertDaLista = true;
    QVERIFY(frm_->CanClose());
    prompter_->verifyDone();
}

void TestFrmMain::windowCommandsWaitForSaveOrCancel_data()
{
    QTest::addColumn<QString>("command");
    for (const char *name : {"Caricomagazzino1", "Produzione1", "Altriusi1", "Riepiloghi1", "Anagrafica1",
                             "TabellaFornitori1", "Tabellaingredienti1", "Titolazioneingrediente1",
                             "Visualizzamagazzino1", "GestionesistemaRizododo1", "Tabellaricette1", "Amministratore1",
                             "Categorie1", "Parametri1", "Preferenze1", "Backuparchivi1", "Parametribilanciamento1"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestFrmMain::windowCommandsWaitForSaveOrCancel()
{
    QFETCH(QString, command);
    FakeVolumes volumes({{folder_->path(), QStringLiteral("BRIVOLA")}});
    frm_->AbilitaMenu();
    frm_->sbCommit->setEnabled(true);
    auto *action = frm_->findChild<QAction *>(command);
    QVERIFY(action);

    prompter_->expectInfo(QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare."));
    action->trigger();

    prompter_->verifyDone();
    QVERIFY(frm_->MovementKind.isEmpty());
    QVERIFY(!frm_->CategorieAdmin);
}

void TestFrmMain::windowCommandsSilentWithoutDatabase()
{
    // After a failed start the database is closed: the commands set their values and stop quietly.
    frm_->AbilitaMenu();
    frm_->Produzione1->trigger();
    QCOMPARE(frm_->MovementKind, QStringLiteral("P"));
    frm_->SpeedButton1->click();
    QCOMPARE(frm_->MovementKind, QStringLiteral("P"));
    frm_->Altriusi1->trigger();
    QCOMPARE(frm_->MovementKind, QStringLiteral("S"));
    frm_->Categorie1->trigger();
    QVERIFY(frm_->CategorieAdmin);
    frm_->Controllaaggiornamentiora1->trigger();
    QVERIFY(frm_->MDIArea->subWindowList().isEmpty());
    prompter_->verifyDone();

    // The operations button starts in load mode when no mode was chosen yet.
    TfrmMain fresh(folder_->path());
    fresh.SpeedButton1->click();
    QCOMPARE(fresh.MovementKind, QStringLiteral("C"));
    prompter_->verifyDone();
}

void TestFrmMain::featuresInPreparationShowWorkingBox()
{
    frm_->AbilitaMenu();
    int wellFormed = 0;
    auto checkBox = [&wellFormed](QDialog *d) {
        const auto buttons = d->findChildren<QPushButton *>();
        const auto pictures = d->findChildren<QLabel *>();
        if (buttons.size() == 1 && buttons.first()->text() == QLatin1String("OK") && pictures.size() == 1 &&
            !pictures.first()->pixmap().isNull())
            ++wellFormed;
        return int(QDialog::Accepted);
    };
    const QString title = QStringLiteral("In fase di realizzazione...");
    const QList<QAction *> commands = {frm_->GestionesistemaVelmonti1, frm_->Informazioni1,
                                       frm_->Teleassistenzaremota1,    frm_->Hotlinetelefonica1,
                                       frm_->HotlineSkype1,            frm_->Tastisceltarapida1};
    for (QAction *a : commands) {
        prompter_->expectDialog(title, checkBox);
        a->trigger();
    }
    prompter_->verifyDone();
    QCOMPARE(wellFormed, commands.size());
}

void TestFrmMain::backupDriveIsFirstVolumeNamedBrivola_data()
{
    QTest::addColumn<QList<Volume>>("volumes");
    QTest::addColumn<QString>("drive");   // "-": none

    QTest::newRow("no disks") << QList<Volume>{} << "-";
    QTest::newRow("no BRIVOLA label") << QList<Volume>{{"/", "root"}, {"/media/usb/", "BRIVOL"}} << "-";
    QTest::newRow("label in lower case inside a longer name")
        << QList<Volume>{{"/", ""}, {"/media/usb/", "backup_brivola_2"}} << "/media/usb";
    QTest::newRow("first of two in system order")
        << QList<Volume>{{"/mnt/b", "BRIVOLA-B"}, {"/mnt/a", "BRIVOLA-A"}} << "/mnt/b";
    QTest::newRow("Windows drive") << QList<Volume>{{"E:/", "Brivola"}} << "E:";
}

void TestFrmMain::backupDriveIsFirstVolumeNamedBrivola()
{
    QFETCH(QList<Volume>, volumes);
    QFETCH(QString, drive);
    FakeVolumes fake(volumes);
    const std::optional<QString> found = FindBackupDrive();
    QCOMPARE(found.value_or(QStringLiteral("-")), drive);
}

void TestFrmMain::backupCommand()
{
    frm_->AbilitaMenu();
    FakeVolumes volumes(QList<Volume>{{"/", "sistema"}});

    prompter_->expectInfo(QStringLiteral("Inserire il disco di backup BRIVOLA prima di continuare!"));
    frm_->Backuparchivi1->trigger();
    prompter_->verifyDone();
    QVERIFY(AppConfig().BackupDrive.isEmpty());

    volumes.set({{"/", "sistema"}, {folder_->path(), "BACKUP_BRIVOLA"}});
    bool backupWindow = false;
    prompter_->expectDialog(QStringLiteral("Backup"), [&backupWindow](QDialog *d) {
        backupWindow = qobject_cast<TfrmBackup *>(d) && d->findChild<QPushButton *>(QStringLiteral("Button1"));
        return int(QDialog::Rejected);
    });
    frm_->Backuparchivi1->trigger();
    prompter_->verifyDone();
    QVERIFY(backupWindow);
    QCOMPARE(AppConfig().BackupDrive + QLatin1Char('/'), folder_->path());
}

QTEST_MAIN(TestFrmMain)
void TestFrmMain::administratorPasswordUnlocksTheSubmenu()
{
    frm_->AbilitaMenu();
    auto answer = [](const QString &typed) {
        return [typed](QDialog *d) {
            auto *dlg = static_cast<TfrmPassword *>(d);
            dlg->editPassword->setText(typed);
            dlg->btnChiudi->click(); // the test types, then closes or confirms below
            return int(QDialog::Rejected);
        };
    };
    // Closed without the password: the submenu stays hidden.
    prompter_->expectDialog(QStringLiteral("Inserire password supervisore"), answer(QStringLiteral("quilbetor")));
    frm_->Amministratore1->trigger();
    prompter_->verifyDone();
    QVERIFY(frm_->Amministratore1->isVisible());
    QVERIFY(!frm_->Amministratore2->menuAction()->isVisible());

    prompter_->expectDialog(QStringLiteral("Inserire password supervisore"), [](QDialog *d) {
        auto *dlg = static_cast<TfrmPassword *>(d);
        dlg->editPassword->setText(QStringLiteral("quilbetor"));
        dlg->btnOK->click();
        return d->result();
    });
    frm_->Amministratore1->trigger();
    prompter_->verifyDone();
    QVERIFY(!frm_->Amministratore1->isVisible());
    QVERIFY(frm_->Amministratore2->menuAction()->isVisible());
}

#include "tst_frmmain.moc"
