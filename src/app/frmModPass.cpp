#include "frmModPass.h"

#include "AppConfig.h"
#include "Cipher.h"
#include "data/dmGenerale.h"
#include "db/Firebird.h"
#include "frmPassword.h"
#include "ui/Prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <stdexcept>

namespace {

TfrmModPass *instance = nullptr;

QLineEdit *passwordBox(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    SetupPasswordBox(edit);
    edit->setMinimumWidth(200);
    return edit;
}

} // namespace

TfrmModPass::TfrmModPass(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmModPass"));
    setWindowTitle(QStringLiteral("Modifica password"));

    editVecchia = passwordBox("editVecchia", this);
    editNuova = passwordBox("editNuova", this);
    editConferma = passwordBox("editConferma", this);

    // Enter in a box does not press a button: the user moves on with Tab and chooses.
    btnCambia = new QPushButton(QStringLiteral("Cambia"), this);
    btnCambia->setObjectName(QStringLiteral("btnCambia"));
    btnCambia->setAutoDefault(false);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnAnnulla->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Vecchia Password"), editVecchia);
    form->addRow(QStringLiteral("Nuova Password"), editNuova);
    form->addRow(QStringLiteral("Nuova password (conferma)"), editConferma);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCambia);
    buttons->addWidget(btnAnnulla);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnCambia, &QPushButton::clicked, this, &TfrmModPass::btnCambiaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &TfrmModPass::btnAnnullaClick);

    if (!instance)
        instance = this;
}

TfrmModPass::~TfrmModPass()
{
    if (instance == this)
        instance = nullptr;
}

bool TfrmModPass::Execute()
{
    FormActivate();
    setResult(QDialog::Rejected);   // no result left over from the previous showing
    return ui::prompter().exec(this) == QDialog::Accepted;
}

void TfrmModPass::FormActivate() { editVecchia->setFocus(); }

void TfrmModPass::SavePassword(const QString &enciphered)
{
    if (!dmGenerale)
        throw std::runtime_error("no data module");
    try {
        dmGenerale->OpenDB0();
        db::exec(dmGenerale->ta0, QStringLiteral("UPDATE codici SET pass_ric = ?"), {enciphered});
        dmGenerale->ta0.commitRetaining();
        dmGenerale->CloseDB0();
    } catch (...) {
        // Closing the service connection rolls back whatever was not committed.
        dmGenerale->CloseDB0();
        throw;
    }
}

void TfrmModPass::btnCambiaClick()
{
    bool changed = false;
    try {
        const QString vat = AppConfig().VatNumber;
        if (EncipherPassword(editVecchia->text(), vat) != AppConfig().RecipePassword) {
            ui::prompter().info(QStringLiteral("Vecchia password errata!"), QStringLiteral("Errore"));
        } else if (editNuova->text() != editConferma->text()) {
            ui::prompter().info(QStringLiteral("Attenzione! Conferma della nuova password errata!"),
                                QStringLiteral("Errore"));
        } else {
            const QString enciphered = EncipherPassword(editNuova->text(), vat);
            SavePassword(enciphered);
            // Effective at once for every later check of this run.
            AppConfig().RecipePassword = enciphered;
            changed = true;
        }
    } catch (const std::exception &) {
        ui::prompter().info(QStringLiteral("Impossibile cambiare la password!"), QStringLiteral("Errore"));
    }
    if (changed) {
        ui::prompter().info(QStringLiteral("Password cambiata correttamente!"), QStringLiteral("Successo"));
        accept();
    } else {
        // No retry in place: the user starts again from the password dialog.
        done(QDialog::Rejected);
    }
}

void TfrmModPass::btnAnnullaClick()
{
    ui::prompter().info(QStringLiteral("Password non modificata!"), QStringLiteral("Annullamento"));
    done(QDialog::Rejected);
}

void TfrmModPass::reject() { btnAnnullaClick(); }

void TfrmModPass::done(int result)
{
    editVecchia->clear();
    editNuova->clear();
    editConferma->clear();
    QDialog::done(result);
}

TfrmModPass *frmModPass()
{
    if (!instance)
        new TfrmModPass;   // registers itself; lives as long as the program
    return instance;
}

bool ChangeRecipePassword() { return frmModPass()->Execute(); }
