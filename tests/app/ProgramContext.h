#pragma once
// The whole program on a fresh database, for the window tests: the main window shown (offscreen),
// its data module started on the database, the menus on and the administrator submenu unlocked,
// every message and question going to a scripted prompter. One per test case.
//
// TestChild is a small record window over its own dataset (the units of measure in domini), which
// registers under any component name, counts its activations and print calls, and holds a box that
// records the keys it receives.
#include "TestDatabase.h"
#include "app/frmMDIChild.h"
#include "app/frmMain.h"
#include "data/dmGenerale.h"
#include "db/DataSet.h"
#include "db/Firebird.h"
#include "support/ScriptedPrompter.h"
#include "ui/DBControls.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

class ProgramContext {
public:
    explicit ProgramContext(bool demo = false) : database(demo)
    {
        frm = std::make_unique<TfrmMain>(database.folder());
        frm->OnTerminate = [] {};
        frm->show();
        if (!QTest::qWaitForWindowExposed(frm.get()))
            qWarning("main window not exposed");
        frm->CreateLongLivedWindows();
        frm->Timer1->stop();
        frm->Timer1Timer();
        frm->ShowAdminMenu();
    }
    ~ProgramContext()
    {
        // Windows first, while the data module and the prompter are still there.
        frm.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A value read on a connection of its own: what another desktop sees once it is committed.
    QVariant otherSees(const QString &sql) const
    {
        db::Attachment att;
        att.open(database.file(), TdmGenerale::connectParams());
        db::Transaction tr(att);
        tr.start();
        const QVariant v = db::selectValue(tr, sql);
        tr.commit();
        return v;
    }

    int childCount() const { return int(frm->MDIArea->subWindowList().size()); }

    TestDatabase database;
    ScriptedPrompter prompter;
    std::unique_ptr<TfrmMain> frm;
};

// A line edit that records the keys (other than Ctrl and Shift themselves) that reach it, and the
// releases.
class KeySpy : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QList<int> keys;
    QList<int> released;

protected:
    void keyReleaseEvent(QKeyEvent *e) override
    {
        released << e->key();
        QLineEdit::keyReleaseEvent(e);
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->key() != Qt::Key_Control && e->key() != Qt::Key_Shift)
            keys << e->key();
        QLineEdit::keyPressEvent(e);
    }
};

class TestChild : public TfrmMDIChild {
public:
    // signalChanges: its dataset reports inserts, edits and deletions to the data module (Save and
    // Cancel follow them), as the shared datasets do.
    explicit TestChild(const QString &name, bool signalChanges = true) : TfrmMDIChild(name)
    {
        data = dmGenerale->CreateDataSet(name + QStringLiteral("Data"), this);
        data->SelectSQL = {QStringLiteral("SELECT dominio, valore, desc_it, desc_te"), QStringLiteral("  FROM domini"),
                           QStringLiteral(" WHERE dominio = 'UNITA_MIS'"), QStringLiteral(" ORDER BY valore")};
        data->setTable(QStringLiteral("domini"), {QStringLiteral("DOMINIO"), QStringLiteral("VALORE")});
        data->OnNewRecord = [](db::DataSet &ds) { ds[QStringLiteral("DOMINIO")].setValue(QStringLiteral("UNITA_MIS")); };
        if (signalChanges) {
            const auto changed = [](db::DataSet &ds) { dmGenerale->AfterChange(&ds); };
            data->AfterInsert = changed;
            data->AfterEdit = changed;
            data->AfterDelete = changed;
        }
        data->open();
        MainDataSet = data;

        spy = new KeySpy(this);
        spy->setObjectName(QStringLiteral("spy"));
        editDesc = new ui::DBEdit(data, QStringLiteral("DESC_IT"), this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(spy);
        layout->addWidget(editDesc);
        layout->addStretch();
    }

    void FormActivate() override
    {
        ++activations;
        TfrmMDIChild::FormActivate();
    }
    void Anteprima_stampa(bool preview, bool ask) override
    {
        printCalls << QStringLiteral("list preview=%1 ask=%2").arg(preview).arg(ask);
    }
    void Anteprima_stampa(bool preview, bool totals, bool ask) override
    {
        printCalls << QStringLiteral("register preview=%1 totals=%2 ask=%3").arg(preview).arg(totals).arg(ask);
    }

    db::DataSet *data = nullptr;
    KeySpy *spy = nullptr;
    ui::DBEdit *editDesc = nullptr;
    int activations = 0;
    QStringList printCalls;
};
