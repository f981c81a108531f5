#include "frmAnagraf.h"

#include "app/frmMain.h"
#include "data/dmGenerale.h"
#include "frmFornitori.h"
#include "ui/DataGrid.h"
#include "ui/GridReport.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QVBoxLayout>

TfrmAnagraf::TfrmAnagraf() : TfrmMDIChild(QStringLiteral("frmAnagraf"))
{
    setWindowTitle(QStringLiteral("Anagrafica clienti"));
    grdAnag = new ui::DataGrid(dmGenerale->tabAnag, this);
    grdAnag->setObjectName(QStringLiteral("grdAnag"));
    QList<ui::GridColumn> columns{{QStringLiteral("RAGIONE"), QStringLiteral("Ragione sociale"), 270},
                                  {QStringLiteral("INDIRIZZO"), QStringLiteral("Indirizzo"), 200},
                                  {QStringLiteral("CAP"), QStringLiteral("CAP"), 60},
                                  {QStringLiteral("LUOGO"), QStringLiteral("Luogo (prov)"), 135},
                                  {QStringLiteral("TEL1"), QStringLiteral("Telefono"), 100},
                                  {QStringLiteral("TEL2"), QStringLiteral("Cell."), 100},
                                  {QStringLiteral("FAX"), QStringLiteral("Fax"), 100},
                                  {QStringLiteral("EMAIL"), QStringLiteral("E-mail"), 200},
                                  {QStringLiteral("PART_IVA"), QStringLiteral("Partita IVA"), 100},
                                  {QStringLiteral("COD_FISC"), QStringLiteral("Cod. fiscale"), 130},
                                  {QStringLiteral("WEB"), QStringLiteral("Sito internet"), 200}};
    for (int c = 7; c < columns.size(); ++c)
        columns[c].visible = false;
    grdAnag->setColumns(columns);
    grdAnag->setReadOnly(true);
    grdAnag->setColumnMovingAllowed(false);
    QFont cells = font();
    cells.setBold(false);
    grdAnag->setFont(cells);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(grdAnag);

    connect(grdAnag->view(), &QAbstractItemView::doubleClicked, this, [this] { ApriScheda(); });

    MainDataSet = dmGenerale->tabAnag;
    GridProc = [this] { ApriScheda(); };
    PrintProc = [this] { Stampa(); };
}

TfrmAnagraf::~TfrmAnagraf() = default;

bool TfrmAnagraf::FormKeyDown(QWidget *target, QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        ui::userAction([] { CercaFornitore(); });
        return true;
    }
    return TfrmMDIChild::FormKeyDown(target, event);
}

void TfrmAnagraf::ApriScheda()
{
    frmMain->Anagrafica1Click();
}

void TfrmAnagraf::SetUpReport(ui::GridReport &report) const
{
    report.orientation = QPageLayout::Landscape;
    report.margins = {12.5, 15, 12.5, 15};
    report.headerDistance = 8;
    report.footerDistance = 7;
    report.headerCentre = {QStringLiteral("Lista fornitori")};
    report.jobName = QStringLiteral("Lista fornitori");
    report.printBands = false;
    report.printFooter = false;
}

void TfrmAnagraf::Stampa()
{
    // The addresses are printed, not shown in the window: hidden again whatever the preview did.
    grdAnag->setColumnVisible(QStringLiteral("EMAIL"), true);
    const auto hide = qScopeGuard([this] { grdAnag->setColumnVisible(QStringLiteral("EMAIL"), false); });
    ui::GridReport report(*grdAnag);
    SetUpReport(report);
    report.preview();
}
