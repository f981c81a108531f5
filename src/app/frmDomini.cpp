#include "frmDomini.h"

#include "data/dmGenerale.h"
#include "frmMain.h"
#include "ui/DataGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Enter and Tab move from cell to cell and a new record's first cell takes the focus (the grid's
// own behaviour); the user cannot sort, resize or move the columns.
ui::DataGrid *domainGrid(db::DataSet *ds, const QList<ui::GridColumn> &columns, const QString &name, QWidget *parent)
{
    auto *grid = new ui::DataGrid(ds, parent);
    grid->setObjectName(name);
    grid->setColumns(columns);
    grid->setSortingAllowed(false);
    grid->setColumnResizingAllowed(false);
    grid->setColumnMovingAllowed(false);
    QFont cells = parent->font();
    cells.setBold(false);
    grid->setFont(cells);
    // As wide as its columns, with the row indicator and the scroll bar.
    int width = 0;
    for (const ui::GridColumn &c : columns)
        width += c.width;
    ui::DBGrid *view = grid->view();
    const int indicator = view->verticalHeader()->isHidden() ? 0 : view->verticalHeader()->sizeHint().width();
    grid->setFixedWidth(width + indicator + 2 * view->frameWidth() +
                        view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    return grid;
}

} // namespace

TfrmDomini::TfrmDomini() : TfrmMDIChild(QStringLiteral("frmDomini"))
{
    grdTDominio = domainGrid(dmGenerale->tabTDominio,
                             {{QStringLiteral("DOMINIO"), QStringLiteral("Dominio"), 120},
                              {QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione"), 648}},
                             QStringLiteral("grdTDominio"), this);
    grdDomini = domainGrid(dmGenerale->tabDomini,
                           {{QStringLiteral("VALORE"), QStringLiteral("Valore"), 120},
                            {QStringLiteral("DESC_IT"), QStringLiteral("Descrizione italiana"), 324},
                            {QStringLiteral("DESC_TE"), QStringLiteral("Descrizione tedesca"), 324}},
                           QStringLiteral("grdDomini"), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(grdTDominio, 2);
    layout->addWidget(grdDomini, 3);

    MainDataSet = dmGenerale->tabTDominio;
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

TfrmDomini::~TfrmDomini() = default;

void TfrmDomini::focusChanged(QWidget *now)
{
    // Only moves inside this window count: a message box taking the focus changes nothing.
    if (!now || !isAncestorOf(now))
        return;
    db::DataSet *target = grdDomini->isAncestorOf(now) ? dmGenerale->tabDomini : dmGenerale->tabTDominio;
    if (MainDataSet == target)
        return;
    MainDataSet = target;
    if (frmMain && frmMain->BoundChild() == this)
        frmMain->setDsCorrente(target);
}
