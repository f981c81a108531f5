#pragma once
// The recipe password change dialog: the old password, the new one twice. The new password is
// stored enciphered in the settings row through the service connection. One long-lived instance,
// reached through frmModPass().
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmModPass : public QDialog {
    Q_OBJECT
public:
    explicit TfrmModPass(QWidget *parent = nullptr);
    ~TfrmModPass() override;

    // Shows the dialog modally; true when the password was changed.
    bool Execute();

    // What happens when the dialog comes up: the focus goes to the old password.
    void FormActivate();
    // "Cambia": checks the old password and the confirmation, stores the new password, tells the
    // user how it went and closes the dialog in every case (OK result only after a change).
    void btnCambiaClick();
    // "Annulla" (also Escape and the close box): tells the user that nothing changed and closes.
    void btnAnnullaClick();

    QLineEdit *editVecchia = nullptr;    // "Vecchia Password"
    QLineEdit *editNuova = nullptr;      // "Nuova Password"
    QLineEdit *editConferma = nullptr;   // "Nuova password (conferma)"
    QPushButton *btnCambia = nullptr;
    QPushButton *btnAnnulla = nullptr;

    void reject() override;

protected:
    // Every way of closing ends here: no typed password outlives the dialog.
    void done(int result) override;

private:
    // Writes the enciphered password into the settings row and commits it; throws on failure.
    static void SavePassword(const QString &enciphered);
};

// The one password change dialog, created on first use unless the main window created it at start.
TfrmModPass *frmModPass();

// Shows the password change dialog; true when the recipe password was changed.
bool ChangeRecipePassword();
