#include "frmWorking.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmWorking *frmWorking = nullptr;

// The pictures live in the application's static library, which the linker would drop unless referenced.
static void initResources() { Q_INIT_RESOURCE(app); }

TfrmWorking::TfrmWorking(QWidget *parent) : QDialog(parent)
{
    initResources();
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("In fase di realizzazione..."));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/images/working.png")));
    picture->setAlignment(Qt::AlignCenter);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    if (!frmWorking)
        frmWorking = this;
}

TfrmWorking::~TfrmWorking()
{
    if (frmWorking == this)
        frmWorking = nullptr;
}

void TfrmWorking::showEvent(QShowEvent *event)
{
    // Centred on the screen, not on the main window.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
