#pragma once
// The supplier table ("Anagrafica clienti"): every supplier of the shared supplier dataset in a
// read-only list, which opens the supplier card on the current supplier and prints as
// "Lista fornitori".
#include "app/frmMDIChild.h"

namespace ui {
class DataGrid;
class GridReport;
}

class TfrmAnagraf : public TfrmMDIChild {
    Q_OBJECT
public:
    TfrmAnagraf();
    ~TfrmAnagraf() override;

    bool FormKeyDown(QWidget *target, QKeyEvent *event) override;

    // Double-click and Grid: the supplier card on the current supplier, when nothing is pending.
    void ApriScheda();
    // Print: the preview of the list, with the e-mail addresses shown for the print only.
    void Stampa();
    // The report of the list as printed: its page set-up on the grid as it is now.
    void SetUpReport(ui::GridReport &report) const;

    ui::DataGrid *grdAnag = nullptr;
};
