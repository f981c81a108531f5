#pragma once
// The password dialog: asks for the administrator password (which unlocks the administrator menu
// for the rest of the run) or for the recipe password (which unlocks the editing of recipes).
// One long-lived instance, reached through frmPassword().
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Administrator, Recipes };

    explicit TfrmPassword(QWidget *parent = nullptr);
    ~TfrmPassword() override;

    // The dialog starts in administrator mode; the recipe lock switches it to recipes before
    // showing it, the administrator command back to administrator.
    Mode mode() const { return mode_; }
    void setMode(Mode mode) { mode_ = mode; }

    // Shows the dialog modally in its current mode; true when the right password was typed.
    bool Execute();

    // What happens when the dialog comes up: caption and "Cambia" after the mode, focus on the box.
    void FormActivate();
    // "OK": closes with the OK result when the password matches, otherwise tells the user and
    // stays open for another try.
    void btnOKClick();
    // "Cambia": the recipe password change dialog.
    void btnCambiaClick();

    QLabel *lblPassword = nullptr;
    QLineEdit *editPassword = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCambia = nullptr;
    QPushButton *btnChiudi = nullptr;

protected:
    // Every way of closing ends here: the typed password never outlives the dialog.
    void done(int result) override;

private:
    bool matches(const QString &typed) const;

    Mode mode_ = Mode::Administrator;
};

// The one password dialog, created on first use unless the main window created it at start.
TfrmPassword *frmPassword();

// Makes edit a password box that shows each typed character as "*" (both password dialogs).
void SetupPasswordBox(QLineEdit *edit);

// The dialog in administrator mode; true when the administrator password was given.
bool AskAdministratorPassword();
// The dialog in recipes mode; true when the recipe password was given.
bool AskRecipePassword();
