#include "frmFornitori.h"

#include "Shell.h"
#include "app/frmMain.h"
#include "data/dmGenerale.h"
#include "db/DataSet.h"
#include "ui/DBControls.h"
#include "ui/DataGrid.h"
#include "ui/Prompter.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Whatever is typed becomes upper case (VAT numbers and tax codes).
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// The address a button opens from its field: nothing for a field holding the empty text; a field
// never filled opens the bare prefix.
bool addressOf(const db::Field &field, QString *value)
{
    if (!field.isNull() && field.asString().isEmpty())
        return false;
    *value = field.isNull() ? QString() : field.asString();
    return true;
}

QToolButton *sideButton(QWidget *parent, const QString &name, const QString &hint, QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

bool CercaFornitore()
{
    db::Field &id = dmGenerale->tabAnag->fieldByName(QStringLiteral("ID"));
    // Listed by company name, searched by company name.
    id.lookup = {QStringLiteral("ID"), QStringLiteral("RAGIONE"), QStringLiteral("ID"), QStringLiteral("RAGIONE")};
    return frmMain->ListSearch(id);
}

TfrmFornitori::TfrmFornitori() : TfrmMDIChild(QStringLiteral("frmFornitori"))
{
    setWindowTitle(QStringLiteral("Anagrafica fornitori"));
    db::DataSet *anag = dmGenerale->tabAnag;

    pnlAnagrafica = new QGroupBox(QStringLiteral(" Anagrafica fornitori "), this);
    pnlAnagrafica->setObjectName(QStringLiteral("pnlAnagrafica"));
    QFont plain = font();
    plain.setBold(false);

    auto *grid = new QGridLayout(pnlAnagrafica);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    const auto edit = [&](const QString &field, const QString &name, int maxLength) {
        auto *e = new ui::DBEdit(anag, field, pnlAnagrafica);
        e->setObjectName(name);
        e->setMaxLength(maxLength);
        e->setFont(plain);
        return e;
    };
    const auto label = [&](const QString &caption, QWidget *buddy, int row, int column) {
        auto *l = new QLabel(caption, pnlAnagrafica);
        l->setBuddy(buddy);
        grid->addWidget(l, row, column, Qt::AlignRight | Qt::AlignVCenter);
    };
    const auto withButton = [&](QWidget *box, QToolButton *button) {
        auto *holder = new QWidget(pnlAnagrafica);
        auto *h = new QHBoxLayout(holder);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(4);
        h->addWidget(box, 1);
        h->addWidget(button);
        return holder;
    };

    edtRagione = edit(QStringLiteral("RAGIONE"), QStringLiteral("edtRagione"), 100);
    edtPartIva = edit(QStringLiteral("PART_IVA"), QStringLiteral("edtPartIva"), 16);
    edtCodFisc = edit(QStringLiteral("COD_FISC"), QStringLiteral("edtCodFisc"), 16);
    edtIndirizzo = edit(QStringLiteral("INDIRIZZO"), QStringLiteral("edtIndirizzo"), 50);
    edtCap = edit(QStringLiteral("CAP"), QStringLiteral("edtCap"), 5);
    edtLuogo = edit(QStringLiteral("LUOGO"), QStringLiteral("edtLuogo"), 50);
    edtTel1 = edit(QStringLiteral("TEL1"), QStringLiteral("edtTel1"), 20);
    edtTel2 = edit(QStringLiteral("TEL2"), QStringLiteral("edtTel2"), 20);
    edtFax = edit(QStringLiteral("FAX"), QStringLiteral("edtFax"), 20);
    edtEmail = edit(QStringLiteral("EMAIL"), QStringLiteral("edtEmail"), 100);
    edtWeb = edit(QStringLiteral("WEB"), QStringLiteral("edtWeb"), 100);
    edtPartIva->setValidator(new UpperCaseValidator(edtPartIva));
    edtCodFisc->setValidator(new UpperCaseValidator(edtCodFisc));

    btnCerca = sideButton(pnlAnagrafica, QStringLiteral("btnCerca"), QStringLiteral("Cerca fornitore [F3]"),
                          QStyle::SP_FileDialogContentsView);
    btnMail = sideButton(pnlAnagrafica, QStringLiteral("btnMail"),
                         QStringLiteral("Clicca il pulsante per inviare una mail"), QStyle::SP_DialogYesButton);
    btnWeb = sideButton(pnlAnagrafica, QStringLiteral("btnWeb"),
                        QStringLiteral("Clicca il pulsante per accedere al sito internet"), QStyle::SP_DriveNetIcon);

    // Left column: name, fiscal data, address; right column: telephones and addresses on the net.
    label(QStringLiteral("Ragione sociale"), edtRagione, 0, 0);
    grid->addWidget(withButton(edtRagione, btnCerca), 0, 1, 1, 3);
    label(QStringLiteral("Partita IVA"), edtPartIva, 1, 0);
    grid->addWidget(edtPartIva, 1, 1);
    label(QStringLiteral("Cod. fiscale"), edtCodFisc, 1, 2);
    grid->addWidget(edtCodFisc, 1, 3);
    label(QStringLiteral("Indirizzo"), edtIndirizzo, 2, 0);
    grid->addWidget(edtIndirizzo, 2, 1, 1, 3);
    label(QStringLiteral("CAP"), edtCap, 3, 0);
    grid->addWidget(edtCap, 3, 1);
    label(QStringLiteral("Luogo (prov)"), edtLuogo, 3, 2);
    grid->addWidget(edtLuogo, 3, 3);
    label(QStringLiteral("Tel."), edtTel1, 4, 0);
    grid->addWidget(edtTel1, 4, 1);
    label(QStringLiteral("Cell."), edtTel2, 4, 2);
    grid->addWidget(edtTel2, 4, 3);
    label(QStringLiteral("FAX"), edtFax, 5, 0);
    grid->addWidget(edtFax, 5, 1);
    label(QStringLiteral("Indirizzo e-mail"), edtEmail, 6, 0);
    grid->addWidget(withButton(edtEmail, btnMail), 6, 1, 1, 3);
    label(QStringLiteral("Sito internet"), edtWeb, 7, 0);
    grid->addWidget(withButton(edtWeb, btnWeb), 7, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);

    // The loads of the current supplier, read again whenever it changes.
    qCarichi = dmGenerale->CreateDataSet(QStringLiteral("qCarichi"), this);
    qCarichi->SelectSQL = {
        QStringLiteral("SELECT d.id, d.data, d.numero, t.desc_it tipo, r.id id_riga, r.art_id, a.nome, u.desc_it um, r.quantita"),
        QStringLiteral("  FROM articoli a  LEFT JOIN domini u ON (u.dominio = 'UNITA_MIS' AND u.valore = a.um),"),
        QStringLiteral("       righe r, documenti d LEFT JOIN domini t ON (t.dominio = 'TIPI_DOC' AND t.valore = d.tipo)"),
        QStringLiteral(" WHERE d.genere = 'C'"),
        QStringLiteral("   AND d.anagr_id = :id"),
        QStringLiteral("   AND r.doc_id = d.id"),
        QStringLiteral("   AND a.id = r.art_id"),
        QStringLiteral(" ORDER BY d.data, d.id, r.art_id")};
    qCarichi->declareField(QStringLiteral("QUANTITA"), db::FieldType::Decimal).displayFormat = QStringLiteral("#,##0.00");
    qCarichi->setMaster(anag, {{QStringLiteral("ID"), QStringLiteral("ID")}});
    qCarichi->open();

    pnlCarichi = new QGroupBox(QStringLiteral(" Carichi relativi a questo fornitore "), this);
    pnlCarichi->setObjectName(QStringLiteral("pnlCarichi"));
    grdCarichi = new ui::DataGrid(qCarichi, pnlCarichi);
    grdCarichi->setObjectName(QStringLiteral("grdCarichi"));
    grdCarichi->setColumns({{QStringLiteral("DATA"), QStringLiteral("Data"), 100},
                            {QStringLiteral("NUMERO"), QStringLiteral("Numero"), 90},
                            {QStringLiteral("TIPO"), QStringLiteral("Tipo doc."), 200},
                            {QStringLiteral("NOME"), QStringLiteral("Ingrediente"), 360},
                            {QStringLiteral("UM"), QStringLiteral("U.m."), 100},
                            {QStringLiteral("QUANTITA"), QStringLiteral("Q.tà"), 90}});
    grdCarichi->setReadOnly(true);
    grdCarichi->setFont(plain);
    auto *loads = new QVBoxLayout(pnlCarichi);
    loads->addWidget(grdCarichi);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(pnlAnagrafica);
    layout->addWidget(pnlCarichi, 1);

    connect(btnCerca, &QToolButton::clicked, this, [this] {
        edtRagione->setFocus(Qt::OtherFocusReason);
        Cerca();
    });
    connect(btnMail, &QToolButton::clicked, this, &TfrmFornitori::btnMailClick);
    connect(btnWeb, &QToolButton::clicked, this, &TfrmFornitori::btnWebClick);
    connect(grdCarichi->view(), &QAbstractItemView::doubleClicked, this, &TfrmFornitori::grdCarichiDblClick);

    MainDataSet = anag;
    GridProc = [this] { ApriTabella(); };
    PrintProc = [this] { ApriTabella(); };
}

TfrmFornitori::~TfrmFornitori() = default;

bool TfrmFornitori::FormKeyDown(QWidget *target, QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        Cerca();
        return true;
    }
    return TfrmMDIChild::FormKeyDown(target, event);
}

void TfrmFornitori::Cerca()
{
    ui::userAction([] { CercaFornitore(); });
}

void TfrmFornitori::btnMailClick()
{
    edtEmail->commit();
    QString value;
    if (!addressOf(dmGenerale->tabAnag->fieldByName(QStringLiteral("EMAIL")), &value))
        return;
    if (!suppliers::shell().open(QStringLiteral("mailto:") + value))
        ui::prompter().info(QStringLiteral(
            "Non riesco ad aprire il client di posta! Verifica che sia configurato correttamente nel sistema."));
}

void TfrmFornitori::btnWebClick()
{
    edtWeb->commit();
    QString value;
    if (!addressOf(dmGenerale->tabAnag->fieldByName(QStringLiteral("WEB")), &value))
        return;
    if (value.left(4).toUpper() != QLatin1String("HTTP"))
        value.prepend(QStringLiteral("http://"));
    if (!suppliers::shell().open(value))
        ui::prompter().info(QStringLiteral(
            "Non riesco ad aprire il browser internet! Verifica che sia configurato correttamente nel sistema."));
}

void TfrmFornitori::grdCarichiDblClick()
{
    if (qCarichi->isEmpty() || !frmMain->CanClose())
        return;
    frmMain->DocDaMostrare = qCarichi->fieldByName(QStringLiteral("ID")).asInteger();
    frmMain->Caricomagazzino1->trigger();
}

void TfrmFornitori::ApriTabella()
{
    frmMain->TabellaFornitori1Click();
}
