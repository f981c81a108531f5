// The password dialog (administrator and recipes) and the recipe password change dialog, on a real
// database: the change is written through the service connection and read back through another
// connection. The dialogs are driven through the scripted prompter, which runs each handler in
// place of the modal loop.
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "app/AppConfig.h"
#include "app/Cipher.h"
#include "app/frmModPass.h"
#include "app/frmPassword.h"
#include "data/dmGenerale.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gcrypt.h>

namespace {

const QString Vat = QStringLiteral("03764180364");
const QString AdminCaption = QStringLiteral("Inserire password supervisore");
const QString RecipeCaption = QStringLiteral("Inserire password ricette");
const QString ChangeCaption = QStringLiteral("Modifica password");
const QString Wrong = QStringLiteral("Password errata!");
const QString WrongOld = QStringLiteral("Vecchia password errata!");
const QString WrongConfirm = QStringLiteral("Attenzione! Conferma della nuova password errata!");
const QString Changed = QStringLiteral("Password cambiata correttamente!");
const QString CannotChange = QStringLiteral("Impossibile cambiare la password!");
const QString NotChanged = QStringLiteral("Password non modificata!");

TfrmPassword *asPassword(QDialog *d) { return qobject_cast<TfrmPassword *>(d); }
TfrmModPass *asModPass(QDialog *d) { return qobject_cast<TfrmModPass *>(d); }

// Types into the password dialog and presses OK.
void typeOK(QDialog *d, const QString &text)
{
    asPassword(d)->editPassword->setText(text);
    asPassword(d)->btnOK->click();
}

// Fills the three boxes of the change dialog and presses "Cambia".
int change(QDialog *d, const QString &old, const QString &nuova, const QString &conferma)
{
    TfrmModPass *f = asModPass(d);
    f->editVecchia->setText(old);
    f->editNuova->setText(nuova);
    f->editConferma->setText(conferma);
    f->btnCambia->click();
    return f->result();
}

// The title of the last message shown.
QString lastTitle(const ScriptedPrompter &p) { return p.messages().isEmpty() ? QString() : p.messages().last().title; }

// The enciphered value of a known password and key: the stored form must never drift, or every
// password saved by an earlier version could no longer be verified.
const QString PinnedPassword = QStringLiteral("Fragola1");
const QString PinnedVat = QStringLiteral("03764180364");

} // namespace

class TstPassword : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<TdmGenerale> dm;

    // PASS_RIC as the database holds it, read through a connection of its own.
    QString storedPassword()
    {
        db::Attachment att;
        att.open(database->file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        return db::selectValue(tr, "SELECT pass_ric FROM codici").toString();
    }
    void execOther(const QString &sql)
    {
        db::Attachment att;
        att.open(database->file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        att.executeImmediate(tr, sql);
        tr.commit();
    }
    // A recipe password already set, as a start-up would have read it.
    void setRecipePassword(const QString &clear)
    {
        const QString enciphered = EncipherPassword(clear, Vat);
        execOther(QStringLiteral("UPDATE codici SET pass_ric = %1").arg(db::quoted(enciphered)));
        AppConfig().RecipePassword = enciphered;
    }
    void verifyBoxesEmpty()
    {
        QVERIFY(frmPassword()->editPassword->text().isEmpty());
        QVERIFY(frmModPass()->editVecchia->text().isEmpty());
        QVERIFY(frmModPass()->editNuova->text().isEmpty());
        QVERIFY(frmModPass()->editConferma->text().isEmpty());
    }

private slots:
    void init()
    {
        database = std::make_unique<TestDatabase>();
        AppConfig().ProgramFolder = database->folder();
        AppConfig().DBPath = database->folder();
        execOther(QStringLiteral("UPDATE codici SET piva = %1").arg(db::quoted(Vat)));
        AppConfig().VatNumber = Vat;
        AppConfig().RecipePassword.clear();
        dm = std::make_unique<TdmGenerale>();
        dmGenerale = dm.get();
    }
    void cleanup()
    {
        dm.reset();
        database.reset();
    }
    void cleanupTestCase() { db::engine::shutdown(); }

    // --- the enciphered form -------------------------------------------------------------------

    void encipherment_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("one letter") << "a";
        QTest::newRow("ordinary") << "Fragola1";
        QTest::newRow("one Twofish block long") << "0123456789abcdef";
        QTest::newRow("long") << QString(300, QChar('x'));
        QTest::newRow("accents and euro") << QStringLiteral("Caffè€ già");
        QTest::newRow("spaces only") << "   ";
    }
    void encipherment()
    {
        QFETCH(QString, password);
        const QString text = EncipherPassword(password, Vat);
        // Fits PASS_RIC whatever the length, and is plain ASCII for a WIN1252 column.
        QCOMPARE(text.size(), 24);
        QVERIFY(QString::fromLatin1(text.toLatin1()) == text);
        QCOMPARE(EncipherPassword(password, Vat), text);
        QVERIFY(EncipherPassword(password, QStringLiteral("03764180365")) != text);
        QVERIFY(EncipherPassword(password, QString()) != text);
        QVERIFY(EncipherPassword(password + QLatin1Char('!'), Vat) != text);

        // The block is the password's SHA-256 digest enciphered with Twofish under the SHA-256
        // digest of the VAT number: deciphering it gives the digest back.
        const QByteArray key = QCryptographicHash::hash(Vat.toUtf8(), QCryptographicHash::Sha256);
        QByteArray block = QByteArray::fromBase64(text.toLatin1());
        QCOMPARE(block.size(), 16);
        gcry_cipher_hd_t hd = nullptr;
        QCOMPARE(gcry_cipher_open(&hd, GCRY_CIPHER_TWOFISH, GCRY_CIPHER_MODE_ECB, 0), gcry_error_t(0));
        QCOMPARE(gcry_cipher_setkey(hd, key.constData(), size_t(key.size())), gcry_error_t(0));
        QCOMPARE(gcry_cipher_decrypt(hd, block.data(), size_t(block.size()), nullptr, 0), gcry_error_t(0));
        gcry_cipher_close(hd);
        QCOMPARE(block, QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).left(16));
    }
    void emptyPasswordIsTheEmptyText()
    {
        QCOMPARE(EncipherPassword(QString(), Vat), QString());
        QCOMPARE(EncipherPassword(QString(), QString()), QString());
    }
    void storedFormIsStable()
    {
        const QString text = EncipherPassword(PinnedPassword, PinnedVat);
        QCOMPARE(text, QStringLiteral("bqb4d7CYeBu1F6CfpIJ+xA=="));
    }

    // --- the password dialog ---------------------------------------------------------------

    void administratorPassword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << "quilbetor" << true;
        QTest::newRow("capital initial") << "Quilbetor" << false;
        QTest::newRow("all capitals") << "QUILBETOR" << false;
        QTest::newRow("trailing space") << "quilbetor " << false;
        QTest::newRow("one letter short") << "quilbeto" << false;
        QTest::newRow("empty") << "" << false;
    }
    void administratorPassword()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QSignalSpy closed(frmPassword(), &QDialog::finished);
        ScriptedPrompter p;
        p.expectDialog(AdminCaption, [&](QDialog *d) {
            typeOK(d, typed);
            if (accepted)
                return d->result();
            // Refused: the message, and the dialog still open for another try, which succeeds.
            [&] {
                QCOMPARE(lastTitle(p), QStringLiteral("Errore"));
                QCOMPARE(closed.count(), 0);
                QCOMPARE(asPassword(d)->editPassword->text(), typed);
            }();
            typeOK(d, QStringLiteral("quilbetor"));
            return d->result();
        });
        if (!accepted)
            p.expectInfo(Wrong);
        QVERIFY(AskAdministratorPassword());
        p.verifyDone();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!frmPassword()->btnCambia->isEnabled());
        verifyBoxesEmpty();
    }

    void chiudiGivesNoOK()
    {
        ScriptedPrompter p;
        p.expectDialog(AdminCaption, [](QDialog *d) {
            typeOK(d, QStringLiteral("Quilbetor"));
            asPassword(d)->editPassword->setText(QStringLiteral("quilbetor"));
            asPassword(d)->btnChiudi->click();   // typed right, but closed without OK
            return d->result();
        });
        p.expectInfo(Wrong);
        QVERIFY(!AskAdministratorPassword());
        p.verifyDone();
        verifyBoxesEmpty();
    }

    void recipePassword_data()
    {
        QTest::addColumn<QString>("stored");   // in clear; empty: no password set
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << "Fragola1" << "Fragola1" << true;
        QTest::newRow("case counts") << "Fragola1" << "fragola1" << false;
        QTest::newRow("empty typed") << "Fragola1" << "" << false;
        QTest::newRow("the administrator password") << "Fragola1" << "quilbetor" << false;
        QTest::newRow("the enciphered text typed") << "Fragola1" << EncipherPassword("Fragola1", Vat) << false;
        QTest::newRow("none set, empty typed") << "" << "" << true;
        QTest::newRow("none set, text typed") << "" << "Fragola1" << false;
    }
    void recipePassword()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        setRecipePassword(stored);
        ScriptedPrompter p;
        p.expectDialog(RecipeCaption, [&](QDialog *d) {
            typeOK(d, typed);
            if (!accepted)
                asPassword(d)->btnChiudi->click();
            return d->result();
        });
        if (!accepted)
            p.expectInfo(Wrong);
        QCOMPARE(AskRecipePassword(), accepted);
        p.verifyDone();
        QVERIFY(frmPassword()->btnCambia->isEnabled());
        verifyBoxesEmpty();
    }

    // The recipe lock switches to recipes; the administrator command must switch back, or the
    // recipe password would unlock the administrator menu.
    void modeSwitchesBackToAdministrator()
    {
        setRecipePassword(QStringLiteral("Menta"));
        ScriptedPrompter p;
        p.expectDialog(RecipeCaption, [](QDialog *d) {
            typeOK(d, QStringLiteral("Menta"));
            return d->result();
        });
        QVERIFY(AskRecipePassword());
        QCOMPARE(frmPassword()->mode(), TfrmPassword::Mode::Recipes);

        p.expectDialog(AdminCaption, [](QDialog *d) {
            asPassword(d)->btnCambia->click();   // disabled: no change dialog
            typeOK(d, QStringLiteral("Menta"));
            asPassword(d)->btnChiudi->click();
            return d->result();
        });
        p.expectInfo(Wrong);
        QVERIFY(!AskAdministratorPassword());
        p.verifyDone();
        QCOMPARE(frmPassword()->mode(), TfrmPassword::Mode::Administrator);
        QVERIFY(!frmPassword()->btnCambia->isEnabled());
    }

    // "Cambia" of the password dialog: the change dialog on top; the new password counts at once
    // in the dialog still open below it.
    void changeFromThePasswordDialog()
    {
        setRecipePassword(QStringLiteral("Menta"));
        ScriptedPrompter p;
        p.expectDialog(RecipeCaption, [](QDialog *d) {
            asPassword(d)->btnCambia->click();
            typeOK(d, QStringLiteral("Menta"));
            [&] { QVERIFY2(d->result() != QDialog::Accepted, "old password still accepted"); }();
            typeOK(d, QStringLiteral("Limone"));
            return d->result();
        });
        p.expectDialog(ChangeCaption, [](QDialog *d) {
            return change(d, QStringLiteral("Menta"), QStringLiteral("Limone"), QStringLiteral("Limone"));
        });
        p.expectInfo(Changed);
        p.expectInfo(Wrong);
        QVERIFY(AskRecipePassword());
        p.verifyDone();
        QCOMPARE(storedPassword(), EncipherPassword(QStringLiteral("Limone"), Vat));
        verifyBoxesEmpty();
    }

    // --- the change dialog -----------------------------------------------------------------

    void changeRefused_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("nuova");
        QTest::addColumn<QString>("conferma");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong old") << "Vaniglia" << "Vanilla" << "Cocco" << "Cocco" << WrongOld;
        QTest::newRow("old with a capital changed") << "Vaniglia" << "vaniglia" << "Cocco" << "Cocco" << WrongOld;
        QTest::newRow("empty old while one is set") << "Vaniglia" << "" << "Cocco" << "Cocco" << WrongOld;
        QTest::newRow("old typed while none is set") << "" << "Vaniglia" << "Cocco" << "Cocco" << WrongOld;
        QTest::newRow("wrong old and confirmation") << "Vaniglia" << "x" << "Cocco" << "Coco" << WrongOld;
        QTest::newRow("confirmation differs") << "Vaniglia" << "Vaniglia" << "Cocco" << "cocco" << WrongConfirm;
        QTest::newRow("confirmation empty") << "Vaniglia" << "Vaniglia" << "Cocco" << "" << WrongConfirm;
        QTest::newRow("first, confirmation differs") << "" << "" << "Cocco" << "Cocco " << WrongConfirm;
    }
    void changeRefused()
    {
        QFETCH(QString, stored);
        QFETCH(QString, old);
        QFETCH(QString, nuova);
        QFETCH(QString, conferma);
        QFETCH(QString, message);
        setRecipePassword(stored);
        const QString before = AppConfig().RecipePassword;
        QSignalSpy closed(frmModPass(), &QDialog::finished);
        ScriptedPrompter p;
        p.expectDialog(ChangeCaption, [&](QDialog *d) { return change(d, old, nuova, conferma); });
        p.expectInfo(message);
        QVERIFY(!ChangeRecipePassword());
        p.verifyDone();
        QCOMPARE(lastTitle(p), QStringLiteral("Errore"));
        // Closed after the message, without a retry, and nothing changed.
        QCOMPARE(closed.count(), 1);
        QCOMPARE(AppConfig().RecipePassword, before);
        QCOMPARE(storedPassword(), before);
        QVERIFY(!dm->DB0.isOpen());
        verifyBoxesEmpty();
    }

    void changeSucceeds_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("nuova");
        QTest::newRow("first password, old left empty") << "" << "" << "Pistacchio";
        QTest::newRow("replaced") << "Pistacchio" << "Pistacchio" << "Nocciola";
        QTest::newRow("new password empty") << "Pistacchio" << "Pistacchio" << "";
        QTest::newRow("long new password") << "Pistacchio" << "Pistacchio" << QString(120, QChar('n'));
        QTest::newRow("accented new password") << "" << "" << QStringLiteral("Caffè€");
        QTest::newRow("same again") << "Pistacchio" << "Pistacchio" << "Pistacchio";
    }
    void changeSucceeds()
    {
        QFETCH(QString, stored);
        QFETCH(QString, old);
        QFETCH(QString, nuova);
        setRecipePassword(stored);
        ScriptedPrompter p;
        p.expectDialog(ChangeCaption, [&](QDialog *d) { return change(d, old, nuova, nuova); });
        p.expectInfo(Changed);
        QVERIFY(ChangeRecipePassword());
        QCOMPARE(lastTitle(p), QStringLiteral("Successo"));

        const QString expected = EncipherPassword(nuova, Vat);
        QCOMPARE(expected.size(), nuova.isEmpty() ? 0 : 24);
        QCOMPARE(AppConfig().RecipePassword, expected);
        QCOMPARE(storedPassword(), expected);
        QVERIFY(!dm->DB0.isOpen());
        verifyBoxesEmpty();

        // The next check expects the new password, at once.
        p.expectDialog(RecipeCaption, [&](QDialog *d) {
            if (stored != nuova) {
                typeOK(d, stored);
                [&] { QVERIFY2(d->result() != QDialog::Accepted, "old password accepted"); }();
            }
            typeOK(d, nuova);
            return d->result();
        });
        if (stored != nuova)
            p.expectInfo(Wrong);
        QVERIFY(AskRecipePassword());
        p.verifyDone();
    }

    void changeCancelled_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Annulla") << false;
        QTest::newRow("Escape or close box") << true;
    }
    void changeCancelled()
    {
        QFETCH(bool, escape);
        setRecipePassword(QStringLiteral("Vaniglia"));
        const QString before = AppConfig().RecipePassword;
        ScriptedPrompter p;
        p.expectDialog(ChangeCaption, [&](QDialog *d) {
            TfrmModPass *f = asModPass(d);
            f->editVecchia->setText(QStringLiteral("Vaniglia"));
            f->editNuova->setText(QStringLiteral("Cocco"));
            f->editConferma->setText(QStringLiteral("Cocco"));
            if (escape)
                f->reject();
            else
                f->btnAnnulla->click();
            return f->result();
        });
        p.expectInfo(NotChanged);
        QVERIFY(!ChangeRecipePassword());
        p.verifyDone();
        QCOMPARE(lastTitle(p), QStringLiteral("Annullamento"));
        QCOMPARE(AppConfig().RecipePassword, before);
        QCOMPARE(storedPassword(), before);
        verifyBoxesEmpty();
    }

    void databaseErrorWhileSaving_data()
    {
        QTest::addColumn<bool>("missingDatabase");
        QTest::newRow("database not found") << true;
        QTest::newRow("update refused by the database") << false;
    }
    void databaseErrorWhileSaving()
    {
        QFETCH(bool, missingDatabase);
        setRecipePassword(QStringLiteral("Vaniglia"));
        const QString before = AppConfig().RecipePassword;
        if (missingDatabase) {
            AppConfig().DBPath = database->folder() + QStringLiteral("altrove/");
        } else {
            execOther(QStringLiteral("CREATE EXCEPTION no_pass 'no'"));
            execOther(QStringLiteral("CREATE TRIGGER codici_no_pass FOR codici BEFORE UPDATE AS BEGIN "
                                     "EXCEPTION no_pass; END"));
        }
        ScriptedPrompter p;
        p.expectDialog(ChangeCaption, [](QDialog *d) {
            return change(d, QStringLiteral("Vaniglia"), QStringLiteral("Cocco"), QStringLiteral("Cocco"));
        });
        p.expectInfo(CannotChange);
        QVERIFY(!ChangeRecipePassword());
        p.verifyDone();
        QCOMPARE(lastTitle(p), QStringLiteral("Errore"));
        AppConfig().DBPath = database->folder();
        QCOMPARE(AppConfig().RecipePassword, before);
        QCOMPARE(storedPassword(), before);
        QVERIFY(!dm->DB0.isOpen());
        verifyBoxesEmpty();
    }

    // The VAT number is the key: a password set under one VAT number no longer matches once the
    // settings row carries another, as read at the next start.
    void newVatNumberInvalidatesThePassword()
    {
        ScriptedPrompter p;
        p.expectDialog(ChangeCaption, [](QDialog *d) {
            return change(d, QString(), QStringLiteral("Gianduia"), QStringLiteral("Gianduia"));
        });
        p.expectInfo(Changed);
        QVERIFY(ChangeRecipePassword());

        // A start under the same VAT number reads the stored password back and it matches.
        AppConfig().RecipePassword.clear();
        dm->DataModuleCreate();
        QCOMPARE(AppConfig().RecipePassword, EncipherPassword(QStringLiteral("Gianduia"), Vat));
        p.expectDialog(RecipeCaption, [](QDialog *d) {
            typeOK(d, QStringLiteral("Gianduia"));
            return d->result();
        });
        QVERIFY(AskRecipePassword());

        execOther(QStringLiteral("UPDATE codici SET piva = '01234567890'"));
        dm = std::make_unique<TdmGenerale>();
        dmGenerale = dm.get();
        dm->DataModuleCreate();
        QCOMPARE(AppConfig().VatNumber, QStringLiteral("01234567890"));
        p.expectDialog(RecipeCaption, [](QDialog *d) {
            typeOK(d, QStringLiteral("Gianduia"));
            asPassword(d)->btnChiudi->click();
            return d->result();
        });
        p.expectInfo(Wrong);
        QVERIFY(!AskRecipePassword());
        p.verifyDone();
    }

    // --- appearance ------------------------------------------------------------------------

    void dialogsLookRight()
    {
        TfrmPassword *pass = frmPassword();
        QCOMPARE(frmPassword(), pass);   // one long-lived dialog
        pass->setMode(TfrmPassword::Mode::Recipes);
        pass->FormActivate();
        QCOMPARE(pass->windowTitle(), RecipeCaption);
        QCOMPARE(pass->lblPassword->text(), QStringLiteral("Password"));
        QCOMPARE(pass->editPassword->echoMode(), QLineEdit::Password);
        QVERIFY(pass->btnOK->isDefault());
        QCOMPARE(pass->btnOK->text(), QStringLiteral("OK"));
        QCOMPARE(pass->btnCambia->text(), QStringLiteral("Cambia"));
        QCOMPARE(pass->btnChiudi->text(), QStringLiteral("Chiudi"));
        pass->show();
        pass->editPassword->setText(QStringLiteral("segreto"));
        const QString folder = QDir::currentPath() + QLatin1Char('/');
        QVERIFY(pass->grab().save(folder + QStringLiteral("tst_password_frmPassword.png")));
        pass->setMode(TfrmPassword::Mode::Administrator);
        pass->hide();
        pass->editPassword->clear();

        TfrmModPass *mod = frmModPass();
        QCOMPARE(mod->windowTitle(), ChangeCaption);
        for (const QString &label : {QStringLiteral("Vecchia Password"), QStringLiteral("Nuova Password"),
                                     QStringLiteral("Nuova password (conferma)")}) {
            bool found = false;
            for (QLabel *l : mod->findChildren<QLabel *>())
                found = found || l->text() == label;
            QVERIFY2(found, qPrintable(label));
        }
        QCOMPARE(mod->btnCambia->text(), QStringLiteral("Cambia"));
        QCOMPARE(mod->btnAnnulla->text(), QStringLiteral("Annulla"));
        mod->show();
        mod->editVecchia->setText(QStringLiteral("vecchia"));
        mod->editNuova->setText(QStringLiteral("nuova"));
        QVERIFY(mod->grab().save(folder + QStringLiteral("tst_password_frmModPass.png")));
        mod->hide();
        mod->editVecchia->clear();
        mod->editNuova->clear();
    }
};

QTEST_MAIN(TstPassword)
#include "tst_password.moc"
