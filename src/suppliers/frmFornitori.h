#pragma once
// The supplier card ("Anagrafica fornitori"): one supplier of the shared supplier dataset in edit
// boxes, with the loads received from it below. New, save, cancel, delete and moving come from the
// main window's navigator; Grid and Print open the supplier table on the same supplier.
#include "app/frmMDIChild.h"

class QGroupBox;
class QToolButton;

namespace db {
class DataSet;
}
namespace ui {
class DataGrid;
class DBEdit;
}

class TfrmFornitori : public TfrmMDIChild {
    Q_OBJECT
public:
    TfrmFornitori();
    ~TfrmFornitori() override;

    bool FormKeyDown(QWidget *target, QKeyEvent *event) override;

    // The lookup search of suppliers by company name; the card shows the supplier chosen.
    void Cerca();
    // The mail and web buttons: the address opened by the desktop, or the failure message.
    void btnMailClick();
    void btnWebClick();
    // Double-click on a load: its document in the movement window, when nothing is pending.
    void grdCarichiDblClick();
    // Grid and Print: the supplier table, when nothing is pending.
    void ApriTabella();

    QGroupBox *pnlAnagrafica = nullptr;
    QGroupBox *pnlCarichi = nullptr;
    ui::DBEdit *edtRagione = nullptr;
    ui::DBEdit *edtPartIva = nullptr;
    ui::DBEdit *edtCodFisc = nullptr;
    ui::DBEdit *edtIndirizzo = nullptr;
    ui::DBEdit *edtCap = nullptr;
    ui::DBEdit *edtLuogo = nullptr;
    ui::DBEdit *edtTel1 = nullptr;
    ui::DBEdit *edtTel2 = nullptr;
    ui::DBEdit *edtFax = nullptr;
    ui::DBEdit *edtEmail = nullptr;
    ui::DBEdit *edtWeb = nullptr;
    QToolButton *btnCerca = nullptr;
    QToolButton *btnMail = nullptr;
    QToolButton *btnWeb = nullptr;
    // The loads of the current supplier: one line per load row.
    db::DataSet *qCarichi = nullptr;
    ui::DataGrid *grdCarichi = nullptr;
};

// The search of suppliers by company name on the supplier dataset's code (the card and the table
// share it); true when the dataset moved.
bool CercaFornitore();
