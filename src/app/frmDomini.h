#pragma once
// The domain values ("&Parametri" of the administrator): the domains above, the values of the domain
// selected there below. The navigator acts on the grid that has the focus.
#include "frmMDIChild.h"

namespace ui {
class DataGrid;
}

class TfrmDomini : public TfrmMDIChild {
    Q_OBJECT
public:
    TfrmDomini();
    ~TfrmDomini() override;

    ui::DataGrid *grdTDominio = nullptr;   // tabTDominio
    ui::DataGrid *grdDomini = nullptr;     // tabDomini, the values of the current domain

private:
    // The main dataset follows the focus: the values while their grid has it, else the domains.
    void focusChanged(QWidget *now);
};
