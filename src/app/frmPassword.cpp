#include "frmPassword.h"

#include "AppConfig.h"
#include "Cipher.h"
#include "frmModPass.h"
#include "ui/Prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

namespace {

// The administrator password is part of the program: it is neither stored nor changeable.
const QString AdministratorPassword = QStringLiteral("quilbetor");

TfrmPassword *instance = nullptr;

} // namespace

void SetupPasswordBox(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

TfrmPassword::TfrmPassword(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Inserire password supervisore"));

    lblPassword = new QLabel(QStringLiteral("Password"), this);
    editPassword = new QLineEdit(this);
    editPassword->setObjectName(QStringLiteral("editPassword"));
    SetupPasswordBox(editPassword);
    editPassword->setMinimumWidth(220);
    lblPassword->setBuddy(editPassword);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCambia = new QPushButton(QStringLiteral("Cambia"), this);
    btnCambia->setObjectName(QStringLiteral("btnCambia"));
    btnCambia->setAutoDefault(false);
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    btnChiudi->setAutoDefault(false);

    auto *fields = new QHBoxLayout;
    fields->addWidget(lblPassword);
    fields->addWidget(editPassword, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCambia);
    buttons->addWidget(btnChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, &TfrmPassword::btnOKClick);
    connect(btnCambia, &QPushButton::clicked, this, &TfrmPassword::btnCambiaClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);

    if (!instance)
        instance = this;
}

TfrmPassword::~TfrmPassword()
{
    if (instance == this)
        instance = nullptr;
}

bool TfrmPassword::Execute()
{
    FormActivate();
    setResult(QDialog::Rejected);   // no result left over from the previous showing
    return ui::prompter().exec(this) == QDialog::Accepted;
}

void TfrmPassword::FormActivate()
{
    const bool recipes = mode_ == Mode::Recipes;
    setWindowTitle(recipes ? QStringLiteral("Inserire password ricette")
                           : QStringLiteral("Inserire password supervisore"));
    btnCambia->setEnabled(recipes);
    editPassword->setFocus();
}

bool TfrmPassword::matches(const QString &typed) const
{
    if (mode_ == Mode::Administrator)
        return typed == AdministratorPassword;
    const AppConfigData &cfg = AppConfig();
    return EncipherPassword(typed, cfg.VatNumber) == cfg.RecipePassword;
}

void TfrmPassword::btnOKClick()
{
    bool ok = false;
    try {
        ok = matches(editPassword->text());
    } catch (const std::exception &e) {
        // The cipher library refused: the password cannot be verified.
        ui::prompter().error(QString::fromUtf8(e.what()));
        return;
    }
    if (!ok) {
        ui::prompter().info(QStringLiteral("Password errata!"), QStringLiteral("Errore"));
        editPassword->setFocus();
        return;
    }
    accept();
}

void TfrmPassword::btnCambiaClick() { frmModPass()->Execute(); }

void TfrmPassword::done(int result)
{
    editPassword->clear();
    QDialog::done(result);
}

TfrmPassword *frmPassword()
{
    if (!instance)
        new TfrmPassword;   // registers itself; lives as long as the program
    return instance;
}

bool AskAdministratorPassword()
{
    TfrmPassword *dlg = frmPassword();
    dlg->setMode(TfrmPassword::Mode::Administrator);
    return dlg->Execute();
}

bool AskRecipePassword()
{
    TfrmPassword *dlg = frmPassword();
    dlg->setMode(TfrmPassword::Mode::Recipes);
    return dlg->Execute();
}
