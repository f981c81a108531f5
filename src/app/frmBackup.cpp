#include "frmBackup.h"

#include "AppConfig.h"
#include "ui/Prompter.h"

#include <QDir>
#include <QFile>
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
