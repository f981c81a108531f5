#pragma once
// Backups of the program's files to the backup drive: the backup window (a log and a "Backup"
// button, shown modally from the main menu) and the automatic backup run at shutdown.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackup(QWidget *parent = nullptr);
    ~TfrmBackup() override;

    // The "Backup" button: with the database closed, copies the program folder to BackupDrive and
    // tells the user how it went; the database is opened again afterwards.
    void Button1Click();
    // Copies the whole program folder, subfolders included, to drive + "/Brivola", logging one line
    // per file or folder in Memo1. True when everything was copied; otherwise the user has been told.
    bool Backup(const QString &drive);

    // Copies every "*.fdb" file of the program folder (top level only) into `folder`, creating it
    // when missing and overwriting files of the same name. Each failure is reported and the copy
    // goes on with the next file. The database must not be open while its file is copied.
    static void AutoBackup(const QString &folder);

    QPlainTextEdit *Memo1 = nullptr;   // one line per copied file or folder
    QPushButton *Button1 = nullptr;    // "Backup"

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Copies the entries of ProgramFolder + relative into target + relative; counts the failures.
    void copyFolder(const QString &target, const QString &relative, int &errors);
};

extern TfrmBackup *frmBackup;
