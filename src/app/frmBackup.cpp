#include "frmBackup.h"

#include "AppConfig.h"
#include "data/dmGenerale.h"
#include "db/DbError.h"
#include "ui/Prompter.h"

#include <QApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmBackup *frmBackup = nullptr;

TfrmBackup::TfrmBackup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Backup"));
    setModal(true);
    resize(361, 321);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    Button1 = new QPushButton(QStringLiteral("Backup"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] {
        try {
            Button1Click();
        } catch (const db::Abort &) {
        } catch (const db::DbError &e) {
            ui::prompter().error(e.text());
        } catch (const std::exception &e) {
            ui::prompter().error(QString::fromUtf8(e.what()));
        }
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);

    if (!frmBackup)
        frmBackup = this;
}

TfrmBackup::~TfrmBackup()
{
    if (frmBackup == this)
        frmBackup = nullptr;
}

void TfrmBackup::showEvent(QShowEvent *event)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TfrmBackup::AutoBackup(const QString &folder)
{
    if (!QDir().mkpath(folder)) {
        ui::prompter().info(QStringLiteral("ATTENZIONE! Errore nella creazione della cartella di autobackup!"));
        return;
    }
    const QDir target(folder);
    const QDir source(AppConfig().ProgramFolder);
    const QStringList files =
        source.entryList({QStringLiteral("*.fdb")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : files) {
        // QFile::copy never overwrites: the old copy goes first.
        const QString to = target.filePath(name);
        if (QFile::exists(to))
            QFile::remove(to);
        if (!QFile::copy(source.filePath(name), to))
            ui::prompter().info(QStringLiteral("ATTENZIONE! Errore nel backup automatico del file: ") + name);
    }
}

void TfrmBackup::Button1Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;

    // The database file must not be in use while it is copied.
    if (dmGenerale)
        dmGenerale->CloseDatabase();
    if (Backup(AppConfig().BackupDrive))
        ui::prompter().info(QStringLiteral("Backup effettuato correttamente!"));
    else
        ui::prompter().info(QStringLiteral("Errore nell'esecuzione del backup!"));
    if (dmGenerale)
        dmGenerale->OpenDatabase();
}

bool TfrmBackup::Backup(const QString &drive)
{
    Memo1->clear();
    int errors = 0;
    const QString target = drive + QStringLiteral("/Brivola/");
    if (!QDir().mkpath(target)) {
        ui::prompter().info(QStringLiteral("ATTENZIONE! Errore nel creare la directory di backup!"));
        return false;
    }
    copyFolder(target, QString(), errors);
    if (errors > 0) {
        ui::prompter().info(QStringLiteral("ATTENZIONE! %1 errori di copiatura file!").arg(errors));
        return false;
    }
    return true;
}

void TfrmBackup::copyFolder(const QString &target, const QString &relative, int &errors)
{
    const QString ok = QStringLiteral(" => OK");
    const QString failed = QStringLiteral(" => ERRORE *************");
    const QString targetRoot = QFileInfo(target).canonicalFilePath();
    const QDir source(AppConfig().ProgramFolder + relative);
    const QFileInfoList entries = source.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        const QString name = relative + entry.fileName();
        if (entry.isDir()) {
            // Folders starting with "." are left out, and so is the backup itself when the drive
            // lies inside the program folder.
            if (entry.fileName().startsWith(QLatin1Char('.')) || entry.canonicalFilePath() == targetRoot)
                continue;
            if (QDir().mkpath(target + name)) {
                Memo1->appendPlainText(name + ok);
            } else {
                Memo1->appendPlainText(name + failed);
                ++errors;
            }
            // The files of a folder that could not be created are counted one by one.
            if (!entry.isSymLink())
                copyFolder(target, name + QLatin1Char('/'), errors);
            continue;
        }
        const QString to = target + name;
        if (QFileInfo(to).isFile() || QFileInfo(to).isSymLink())
            QFile::remove(to);
        if (QFile::copy(entry.filePath(), to)) {
            Memo1->appendPlainText(name + ok);
        } else {
            Memo1->appendPlainText(name + failed);
            ++errors;
        }
    }
}
