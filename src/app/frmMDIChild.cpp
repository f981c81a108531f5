#include "frmMDIChild.h"

#include "InsertDaLista.h"
#include "frmMain.h"
#include "data/frmListaDlg.h"
#include "db/DataSet.h"
#include "ui/DBControls.h"
#include "ui/DBNavigator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

namespace {

// A dataset the user may change: it has a statement that writes.
bool canModify(const db::DataSet &ds)
{
    return ds.active() && (!ds.InsertSQL.isEmpty() || !ds.ModifySQL.isEmpty() || !ds.DeleteSQL.isEmpty());
}

// The field whose text goes back to the lookup list that asked for the new record: the list's code
// column; without a list (a caller that set the field itself), the field already named.
QString lookupCodeColumn()
{
    if (frmListaDlg && !frmListaDlg->ListParams.CodeColumn.isEmpty())
        return frmListaDlg->ListParams.CodeColumn;
    return InsertParams().Field;
}

} // namespace

TfrmMDIChild::TfrmMDIChild(const QString &name)
{
    setObjectName(name);
    FormCreate();
}

TfrmMDIChild::~TfrmMDIChild()
{
    FormDestroy();
    // A window destroyed on its own (or whose construction failed) takes its frame with it.
    if (sub_ && sub_->widget() == this)
        sub_->deleteLater();
}

void TfrmMDIChild::FormCreate()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(237, 241, 251));
    setPalette(pal);
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(15);
    f.setBold(true);
    setFont(f);
    setFocusPolicy(Qt::ClickFocus);   // Tab goes from control to control, never to the page itself
    resize(DesignWidth, DesignHeight);

    if (frmMain && frmMain->MDIArea) {
        sub_ = frmMain->MDIArea->addSubWindow(this);
        sub_->setObjectName(objectName());
        frmMain->HideTitlebar(sub_);
        sub_->move(0, 0);
    }
    // The window sees the keys before its controls do.
    qApp->installEventFilter(this);
}

void TfrmMDIChild::FormDestroy()
{
    qApp->removeEventFilter(this);
    if (!frmMain || frmMain->BoundChild() != this)
        return;   // another window is bound already
    frmMain->setBoundChild(nullptr);
    frmMain->setDsCorrente(nullptr);
    frmMain->sbPrint->setEnabled(false);
    frmMain->sbGrid->setEnabled(false);
    frmMain->sbExport->setEnabled(false);
}

void TfrmMDIChild::FormActivate()
{
    if (!frmMain)
        return;
    frmMain->setBoundChild(this);
    frmMain->setDsCorrente(MainDataSet);
    frmMain->sbPrint->setEnabled(bool(PrintProc));
    frmMain->sbGrid->setEnabled(bool(GridProc));
    frmMain->sbExport->setEnabled(frmMain->dsCorrente() != nullptr);

    // Opened to add one record for a lookup list: the insertion starts once, at the first activation.
    TInsertDaListParams &insert = InsertParams();
    if (frmMain->InsertDaLista && !insert.Started && MainDataSet) {
        insert.DataSet = MainDataSet;
        insert.Field = lookupCodeColumn();
        insert.Value.clear();
        MainDataSet->insert();
        insert.Started = true;
    }
}

void TfrmMDIChild::Anteprima_stampa(bool, bool) {}

void TfrmMDIChild::Anteprima_stampa(bool preview, bool, bool ask) { Anteprima_stampa(preview, ask); }

bool TfrmMDIChild::navigate(int button)
{
    if (!frmMain)
        return false;
    bool done = false;
    ui::userAction([&] { done = frmMain->NavigatorAction(static_cast<ui::DBNavigator::Button>(button)); });
    return done;
}

void TfrmMDIChild::forward(QWidget *target, QKeyEvent *event)
{
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   quint16(event->count()));
    forwarding_ = true;
    QCoreApplication::sendEvent(target, &copy);
    forwarding_ = false;
}

bool TfrmMDIChild::FormKeyDown(QWidget *target, QKeyEvent *event)
{
    db::DataSet *ds = frmMain ? frmMain->dsCorrente() : nullptr;
    if (!ds)
        return false;
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();

    // A key that goes on reaches its control after the navigator moved, unless a rule refused the
    // move: then the control must not move the record either.
    if (key == Qt::Key_Insert && mods == Qt::ControlModifier) {
        if (canModify(*ds) && !navigate(ui::DBNavigator::Insert))
            return true;
        forward(target, event);
        return true;
    }
    if (key == Qt::Key_Delete && mods == Qt::ControlModifier) {
        if (canModify(*ds))
            navigate(ui::DBNavigator::Delete);
        return true;
    }
    if ((key == Qt::Key_PageUp || key == Qt::Key_PageDown) && mods == Qt::NoModifier) {
        if (navigate(key == Qt::Key_PageUp ? ui::DBNavigator::Prior : ui::DBNavigator::Next))
            forward(target, event);
        return true;
    }
    if (key == Qt::Key_F5 && mods == Qt::NoModifier) {
        ui::userAction([] { frmMain->sbRefreshClick(); });
        return true;
    }
    if (key == Qt::Key_F8 && mods == Qt::NoModifier && frmMain->sbRollback->isEnabled()) {
        ui::userAction([] { frmMain->sbRollbackClick(); });
        return true;
    }
    if (key == Qt::Key_F10 && mods == Qt::NoModifier && frmMain->sbCommit->isEnabled()) {
        ui::userAction([] { frmMain->sbCommitClick(); });
        return true;
    }
    return false;
}

bool TfrmMDIChild::EditExit(ui::DBEdit *box)
{
    // The main window's required-field check: the message, and the focus back to the box.
    return !frmMain || frmMain->CheckRequired(box);
}

void TfrmMDIChild::CheckOnExit(ui::DBEdit *box)
{
    // The window's key filter sees the box's focus events too.
    box->setProperty("brivolaCheckOnExit", true);
}

bool TfrmMDIChild::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !forwarding_) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && (w == this || isAncestorOf(w)))
            return FormKeyDown(w, static_cast<QKeyEvent *>(event));
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w != this && isAncestorOf(w))
            lastFocused_ = w;
        return false;
    }
    if (event->type() == QEvent::FocusOut && !inExit_ && watched->property("brivolaCheckOnExit").toBool() &&
        isAncestorOf(static_cast<QWidget *>(watched))) {
        // Leaving the box by the user's move, not by a message box or another window taking the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason ||
            reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason) {
            inExit_ = true;
            EditExit(qobject_cast<ui::DBEdit *>(watched));
            inExit_ = false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMDIChild::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}
