#include "frmWait.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TfrmWait *frmWait = nullptr;

TfrmWait::TfrmWait(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmWait"));
    setFixedSize(241, 73);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto *label = new QLabel(QStringLiteral("In elaborazione..."), frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSize(12);
    f.setBold(true);
    label->setFont(f);

    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(label);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    if (!frmWait)
        frmWait = this;
}

TfrmWait::~TfrmWait()
{
    if (cursorSet_)
        QApplication::restoreOverrideCursor();
    if (frmWait == this)
        frmWait = nullptr;
}

void TfrmWait::Start()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    if (!cursorSet_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorSet_ = true;
    }
}

void TfrmWait::Finish()
{
    hide();
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
}

TfrmWait::Scope::Scope()
{
    if (frmWait)
        frmWait->Start();
}

TfrmWait::Scope::~Scope()
{
    if (frmWait)
        frmWait->Finish();
}
