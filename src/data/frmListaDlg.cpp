#include "frmListaDlg.h"

#include "app/InsertDaLista.h"
#include "app/frmMain.h"
#include "dmGenerale.h"
#include "ui/DBControls.h"
#include "ui/Prompter.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <optional>

TfrmListaDlg *frmListaDlg = nullptr;

namespace {

const QString NotDefinedMessage =
    QStringLiteral("La lista valori non è stata definita correttamente in fase di programmazione!");
const QString InvalidSearchMessage =
    QStringLiteral("I valori immessi come ricerca non sono validi e non sono considerati!");
const QString NoNewRecordMessage = QStringLiteral("Inserimento di un nuovo record non previsto!");

const QString ByCode = QStringLiteral("Codice");
const QString ByDescription = QStringLiteral("Descrizione");

constexpr int ClientWidth = 416;
constexpr int ClientHeight = 592;

// A column or table name written as a quoted identifier (the name exactly as the database stores it).
QString identifier(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// The table of a field's origin ("TABLE.COLUMN").
QString tableOf(const QString &origin) { return origin.section(QLatin1Char('.'), 0, 0).trimmed(); }

// The field of the same record that holds the code of a description field; null for a code field
// (its CodeField is itself) or when it names no field.
db::Field *codeFieldOf(const db::Field &field)
{
    const QString &name = field.lookup.CodeField;
    if (name.isEmpty() || name.compare(field.name(), Qt::CaseInsensitive) == 0)
        return nullptr;
    return field.dataSet().findField(name);
}

// The description of a code in a table, read when exactly one row has that code; nothing otherwise.
std::optional<QString> readDescription(db::Transaction &tr, const QString &table, const QString &codeColumn,
                                       const QString &descColumn, const QString &filter, const QString &code)
{
    QString sql = QStringLiteral("SELECT %1 AS Descrizione FROM %2 WHERE ").arg(identifier(descColumn), identifier(table));
    if (!filter.isEmpty())
        sql += filter + QStringLiteral(" AND ");
    sql += identifier(codeColumn) + QStringLiteral(" = ") + db::quoted(code);
    db::Statement st(tr, sql);
    auto rs = st.open();
    std::optional<QString> desc;
    int rows = 0;
    while (rs->next() && ++rows <= 1)
        desc = rs->value(0).toString();
    rs->close();
    if (rows != 1)
        return std::nullopt;
    return desc;
}

// Puts a handed-back code into the lookup's code field and the new record's description into the
// lookup's field; a lookup field without a separate code field takes the code itself.
void writeBack(db::DataSet *ds, const QString &fieldName, const QString &codeFieldName, const TListParameters &list,
               const QString &code)
{
    if (!ds || !ds->active() || ds->isEmpty() || code.isEmpty())
        return;
    db::Field *field = ds->findField(fieldName);
    if (!field)
        return;
    db::Field *codeField = codeFieldName.isEmpty() ? nullptr : ds->findField(codeFieldName);
    TfrmListaDlg &dlg = ListaDlg();
    const bool running = dlg.LookupRunning;
    dlg.LookupRunning = true;   // the writes below must not start another lookup
    auto restore = qScopeGuard([&] { dlg.LookupRunning = running; });
    if (!codeField) {
        TdmGenerale::AssignString(*field, code);
        return;
    }
    const QString desc =
        readDescription(ds->transaction(), list.TableName, list.CodeColumn, list.DescColumn, QString(), code)
            .value_or(QString());
    TdmGenerale::AssignString(*codeField, code);
    TdmGenerale::AssignString(*field, desc);
}

} // namespace

TfrmListaDlg &ListaDlg()
{
    if (!frmListaDlg)
        new TfrmListaDlg(frmMain);
    return *frmListaDlg;
}

TfrmListaDlg::TfrmListaDlg(QWidget *parent) : QDialog(parent)
{
    frmListaDlg = this;
    setObjectName(QStringLiteral("frmListaDlg"));
    setWindowTitle(QStringLiteral("Lista"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->installEventFilter(this);
        return b;
    };

    auto *top = new QHBoxLayout;
    btnIndice = button("btnIndice", ByDescription);
    btnIndice->setToolTip(QStringLiteral("[F6] Inverti ricerca su codice o descrizione"));
    btnIndice->setFixedWidth(97);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    btnPercento = button("btnPercento", QStringLiteral("%"));
    btnPercento->setToolTip(QStringLiteral("Attiva disattiva ricerca testo in mezzo al campo"));
    btnPercento->setFixedWidth(28);
    top->addWidget(btnIndice);
    top->addWidget(Edit1, 1);
    top->addWidget(btnPercento);
    layout->addLayout(top);

    auto *headers = new QHBoxLayout;
    headers->setSpacing(0);
    btnHdrCodice = button("btnHdrCodice", ByCode);
    btnHdrCodice->setFixedWidth(97);
    btnHdrDescrizione = button("btnHdrDescrizione", ByDescription);
    btnHdrDescrizione->setFixedWidth(271);
    headers->addWidget(btnHdrCodice);
    headers->addWidget(btnHdrDescrizione);
    headers->addStretch(1);
    layout->addLayout(headers);

    gridHolder_ = new QVBoxLayout;
    gridHolder_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(gridHolder_, 1);

    auto *bottom = new QHBoxLayout;
    btnOK = button("btnOK", QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnNuovo = button("btnNuovo", QStringLiteral("Nuovo"));
    btnNuovo->setEnabled(false);
    btnAnnulla = button("btnAnnulla", QStringLiteral("Annulla"));
    bottom->addStretch(1);
    bottom->addWidget(btnOK);
    bottom->addWidget(btnNuovo);
    bottom->addWidget(btnAnnulla);
    layout->addLayout(bottom);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Search(); });
    connect(btnIndice, &QPushButton::clicked, this, [this] { SwitchIndex(); });
    connect(btnPercento, &QPushButton::clicked, this, [this] { TogglePercent(); });
    connect(btnHdrCodice, &QPushButton::clicked, this, [this] { OrderBy(1, ByCode); });
    connect(btnHdrDescrizione, &QPushButton::clicked, this, [this] { OrderBy(2, ByDescription); });
    connect(btnOK, &QPushButton::clicked, this, [this] { Choose(); });
    connect(btnNuovo, &QPushButton::clicked, this, [this] { AskNew(); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { reject(); });
}

TfrmListaDlg::~TfrmListaDlg()
{
    dropQuery();
    if (frmListaDlg == this)
        frmListaDlg = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The query and its list

void TfrmListaDlg::newQuery(db::Transaction &tr)
{
    dropQuery();
    qLista_ = std::make_unique<db::DataSet>(tr, QStringLiteral("qLista"));
    DBGrid1 = new ui::DBGrid(qLista_.get(), this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("CODICE"), ByCode, 96, true},
                         {QStringLiteral("DESCRIZIONE"), ByDescription, 270, true}});
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->hide();   // the header buttons above stand for it
    DBGrid1->verticalHeader()->hide();
    DBGrid1->installEventFilter(this);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { Choose(); });
    gridHolder_->addWidget(DBGrid1);
}

void TfrmListaDlg::dropQuery()
{
    if (DBGrid1) {
        DBGrid1->removeEventFilter(this);
        delete DBGrid1;
        DBGrid1 = nullptr;
    }
    if (qLista_)
        qLista_->close();
    qLista_.reset();
}

void TfrmListaDlg::SetAllParams(const QString &value)
{
    QStringList names;
    db::parseNamedParams(qLista_->SelectSQL.join(QLatin1Char('\n')), &names);
    for (const QString &n : names)
        qLista_->setParam(n, value);
}

QString TfrmListaDlg::SearchParam() const
{
    QStringList names;
    db::parseNamedParams(qLista_->SelectSQL.join(QLatin1Char('\n')), &names);
    for (const QString &n : names)
        if (n.compare(btnIndice->text(), Qt::CaseInsensitive) == 0)
            return n;
    return names.value(0);
}

bool TfrmListaDlg::PreparaQuery()
{
    if (!qLista_)
        return false;
    try {
        qLista_->close();
        qLista_->SelectSQL.clear();
        const TListParameters &p = ListParams;
        QStringList sql;
        sql << QStringLiteral("SELECT %1 AS Codice, %2 AS Descrizione").arg(identifier(p.CodeColumn), identifier(p.DescColumn))
            << QStringLiteral("  FROM ") + identifier(p.TableName) << QStringLiteral(" WHERE");
        if (!p.Filter.isEmpty())
            sql << QStringLiteral("   ") + p.Filter + QStringLiteral(" AND");
        sql << QStringLiteral("   UPPER(%1) LIKE :Codice || '%'").arg(identifier(p.CodeColumn))
            << QStringLiteral("   AND UPPER(%1) LIKE :Descrizione || '%'").arg(identifier(p.DescColumn))
            << QStringLiteral(" ORDER BY 1");
        qLista_->SelectSQL = sql;
        btnIndice->setText(p.SearchLabel != p.CodeColumn ? ByDescription : ByCode);
        SetAllParams(QString());
        qLista_->setParam(SearchParam(), p.SearchText);
        qLista_->open();
        return true;
    } catch (...) {
        return false;
    }
}

void TfrmListaDlg::ActivateList()
{
    ListParams.ResultCode.clear();
    ListParams.ResultDesc.clear();
    Edit1->setText(ListParams.SearchText);   // a change of the box filters the list
    btnNuovo->setEnabled(bool(ListParams.OnNew));
    ListActive = true;
}

void TfrmListaDlg::DeactivateList()
{
    dropQuery();
    ListParams.SearchText.clear();
    ListParams.OnNew = nullptr;
    Edit1->clear();
    ListActive = false;
}

void TfrmListaDlg::Search()
{
    if (!qLista_ || qLista_->SelectSQL.isEmpty() || searching_)
        return;
    searching_ = true;
    auto done = qScopeGuard([this] { searching_ = false; });
    qLista_->close();
    SetAllParams(QString());
    qLista_->setParam(SearchParam(), Edit1->text().toUpper());
    try {
        qLista_->open();
    } catch (...) {
        SetAllParams(QString());
        try {
            qLista_->open();
        } catch (...) {
        }
        if (qLista_->active())
            ui::prompter().info(InvalidSearchMessage);
    }
    if (qLista_->active() && !qLista_->isEmpty())
        qLista_->first();
}

// ---------------------------------------------------------------------------------------------
// Controls

void TfrmListaDlg::SwitchIndex()
{
    if (!qLista_ || !qLista_->active())
        return;
    btnIndice->setText(btnIndice->text() == ByCode ? ByDescription : ByCode);
    if (DBGrid1)
        DBGrid1->setFocus();
    Search();
}

void TfrmListaDlg::OrderBy(int column, const QString &mode)
{
    if (!qLista_)
        return;
    for (QString &line : qLista_->SelectSQL)
        if (line.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive))
            line = QStringLiteral(" ORDER BY %1").arg(column);
    if (btnIndice->text() != mode)
        btnIndice->setText(mode);
    if (DBGrid1)
        DBGrid1->setFocus();
    Search();
}

void TfrmListaDlg::TogglePercent()
{
    if (DBGrid1)
        DBGrid1->setFocus();
    const QString text = Edit1->text();
    if (text.isEmpty())
        return;
    Edit1->setText(text.startsWith(QLatin1Char('%')) ? text.mid(1) : QLatin1Char('%') + text);
}

void TfrmListaDlg::Choose()
{
    // An empty list has no row to choose: the dialog stays.
    if (!qLista_ || !qLista_->active() || qLista_->isEmpty())
        return;
    done(Chosen);
}

void TfrmListaDlg::AskNew()
{
    if (!ListParams.OnNew) {
        ui::prompter().info(NoNewRecordMessage);
        return;
    }
    done(NewRecordAsked);
}

void TfrmListaDlg::ReadChoice()
{
    if (!qLista_ || !qLista_->active() || qLista_->isEmpty())
        return;
    ListParams.ResultCode = qLista_->fields()[0]->asString();
    ListParams.ResultDesc = qLista_->fields()[1]->asString();
}

int TfrmListaDlg::ShowModal()
{
    setResult(NothingChosen);
    return ui::prompter().exec(this);
}

void TfrmListaDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    if (DBGrid1)
        DBGrid1->setFocus();
}

bool TfrmListaDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F6 && mods == Qt::NoModifier) {
        SwitchIndex();
        return true;
    }
    if (watched == DBGrid1 && key->key() == Qt::Key_Insert && mods == Qt::ControlModifier) {
        AskNew();
        return true;
    }
    if (key->key() == Qt::Key_Backspace && mods == Qt::NoModifier) {
        QString text = Edit1->text();
        text.chop(1);
        Edit1->setText(text);
        return true;
    }
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        Edit1->setText(Edit1->text() + text);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmListaDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F6 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        SwitchIndex();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Showing the list

void TfrmListaDlg::NewRecordCommand(const std::function<void()> &onNew, db::Field *target)
{
    if (!onNew)
        return;
    if (frmMain)
        frmMain->InsertDaLista = true;
    TInsertDaListParams &insert = InsertParams();
    insert.Started = false;
    insert.Field = ListParams.CodeColumn;   // the archive window hands back this column of its record
    insert.TargetField = target;
    insert.TargetCodeField.clear();
    insert.OnSaved = nullptr;
    if (target) {
        db::Field *codeField = codeFieldOf(*target);
        insert.TargetCodeField = codeField ? codeField->name() : QString();
        QPointer<db::DataSet> ds = &target->dataSet();
        const QString fieldName = target->name();
        const QString codeFieldName = insert.TargetCodeField;
        const TListParameters list = [this] {
            TListParameters l;
            l.TableName = ListParams.TableName;
            l.CodeColumn = ListParams.CodeColumn;
            l.DescColumn = ListParams.DescColumn;
            return l;
        }();
        insert.OnSaved = [ds, fieldName, codeFieldName, list](const QString &code) {
            writeBack(ds.data(), fieldName, codeFieldName, list, code);
        };
    }
    onNew();
}

bool TfrmListaDlg::ShowInList()
{
    auto deactivate = qScopeGuard([this] { DeactivateList(); });
    ActivateList();
    const int result = ShowModal();
    if (result == Chosen)
        ReadChoice();
    const std::function<void()> onNew = ListParams.OnNew;
    deactivate.dismiss();
    DeactivateList();
    if (result == Chosen)
        return true;
    if (result != NewRecordAsked || !onNew)
        return false;
    NewRecordCommand(onNew, nullptr);
    TInsertDaListParams &insert = InsertParams();
    if (!insert.Value.isEmpty()) {
        ListParams.ResultCode = insert.Value;
        insert.Value.clear();
        if (frmMain)
            frmMain->InsertDaLista = false;
    }
    return true;
}

bool TfrmListaDlg::ShowInField(db::Field &field, bool byValue)
{
    auto deactivate = qScopeGuard([this] { DeactivateList(); });
    ActivateList();
    int result;
    if (byValue && qLista_ && qLista_->active() && qLista_->recordCount() == 1)
        result = Chosen;   // the typed text names one record: nothing to ask
    else
        result = ShowModal();
    if (result == Chosen)
        ReadChoice();
    const std::function<void()> onNew = ListParams.OnNew;
    deactivate.dismiss();
    DeactivateList();

    db::Field *codeField = codeFieldOf(field);
    if (result == Chosen) {
        if (codeField) {
            TdmGenerale::AssignString(*codeField, ListParams.ResultCode);
            TdmGenerale::AssignString(field, ListParams.ResultDesc);
        } else {
            TdmGenerale::AssignString(field, ListParams.ResultCode);
        }
        return true;
    }
    if (result != NewRecordAsked || !onNew)
        return false;
    NewRecordCommand(onNew, &field);
    TInsertDaListParams &insert = InsertParams();
    if (!insert.Value.isEmpty()) {
        // The archive window handed the code back at once: no write-back is left to do.
        const QString code = insert.Value;
        insert.Value.clear();
        insert.TargetField = nullptr;
        insert.TargetCodeField.clear();
        insert.OnSaved = nullptr;
        if (frmMain)
            frmMain->InsertDaLista = false;
        TdmGenerale::AssignString(codeField ? *codeField : field, code);
    }
    return true;
}

bool TfrmListaDlg::CheckCodiceDesc(db::Field &field)
{
    const QString text = field.asString();
    if (text.isEmpty())
        return false;
    try {
        QString code;
        db::Field *codeField = codeFieldOf(field);
        if (codeField) {
            code = codeField->asString();
            if (code.isEmpty())
                return false;
        } else {
            if (ListParams.SearchLabel == ListParams.DescColumn)
                return true;
            code = text;
        }
        const std::optional<QString> desc = readDescription(field.dataSet().transaction(), ListParams.TableName,
                                                            ListParams.CodeColumn, ListParams.DescColumn,
                                                            ListParams.Filter, code);
        if (!desc)
            return false;
        return !codeField || *desc == text;
    } catch (...) {
        return false;
    }
}

bool TfrmListaDlg::ListaDB(db::Field &field, bool byValue, const QString &filter)
{
    if (ListActive)
        return true;
    // A new-record command given for this lookup ends with it, whatever happens.
    auto dropOnNew = qScopeGuard([this] { ListParams.OnNew = nullptr; });
    const db::LookupSpec &settings = field.lookup;
    if (settings.CodeColumn.isEmpty() || settings.DescColumn.isEmpty() || tableOf(field.origin).isEmpty()) {
        ui::prompter().info(NotDefinedMessage);
        return false;
    }
    ListParams.CodeColumn = settings.CodeColumn;
    ListParams.DescColumn = settings.DescColumn;
    ListParams.SearchLabel = settings.SearchLabel;
    ListParams.SearchText.clear();
    if (byValue) {
        if (settings.SearchLabel != settings.CodeColumn) {
            ListParams.SearchText = field.asString();
        } else {
            db::Field *codeField = codeFieldOf(field);
            ListParams.SearchText = (codeField ? *codeField : field).asString();
        }
    }
    newQuery(field.dataSet().transaction());
    ListParams.TableName = tableOf(field.origin);
    ListParams.Filter = filter;
    if (byValue && CheckCodiceDesc(field)) {
        DeactivateList();
        return true;
    }
    if (!PreparaQuery()) {
        DeactivateList();
        return false;
    }
    return ShowInField(field, byValue);
}

bool TfrmListaDlg::ListSearch(db::Field &field)
{
    if (ListActive)
        return false;
    auto dropOnNew = qScopeGuard([this] { ListParams.OnNew = nullptr; });
    const db::LookupSpec &settings = field.lookup;
    const db::Field *codeField =
        settings.CodeColumn.isEmpty() ? nullptr : field.dataSet().findField(settings.CodeColumn);
    if (settings.CodeColumn.isEmpty() || settings.DescColumn.isEmpty() || !codeField || tableOf(codeField->origin).isEmpty()) {
        ui::prompter().info(NotDefinedMessage);
        return false;
    }
    ListParams.CodeColumn = settings.CodeColumn;
    ListParams.DescColumn = settings.DescColumn;
    ListParams.SearchLabel = settings.SearchLabel;
    ListParams.SearchText.clear();
    ListParams.Filter.clear();
    newQuery(field.dataSet().transaction());
    ListParams.TableName = tableOf(codeField->origin);
    if (!PreparaQuery()) {
        DeactivateList();
        return false;
    }
    if (!ShowInList())
        return false;
    return field.dataSet().locate(settings.CodeColumn, ListParams.ResultCode);
}

bool TfrmListaDlg::ListaArticoli(db::DataSet &dataset, const QString &filter)
{
    if (ListActive)
        return false;
    newQuery(dmGenerale ? dmGenerale->ta1 : dataset.transaction());
    QStringList sql{QStringLiteral("SELECT a.id codice, a.nome descrizione"), QStringLiteral("  FROM articoli a"),
                    QStringLiteral(" WHERE a.id LIKE :Codice || '%'"),
                    QStringLiteral("   AND UPPER (a.nome) LIKE :Descrizione || '%'")};
    if (!filter.isEmpty())
        sql << QStringLiteral("   AND (") + filter + QLatin1Char(')');
    sql << QStringLiteral(" ORDER BY 1");
    qLista_->SelectSQL = sql;
    SetAllParams(QString());
    btnIndice->setText(ByDescription);
    ListParams.SearchText.clear();
    ListParams.OnNew = nullptr;
    try {
        qLista_->open();
    } catch (const db::DbError &e) {
        DeactivateList();
        ui::prompter().error(e.text());
        return false;
    }
    if (!ShowInList())
        return false;
    return dataset.locate(QStringLiteral("ID"), ListParams.ResultCode);
}

bool ListaArticoli(db::DataSet &dataset, const QString &filter) { return ListaDlg().ListaArticoli(dataset, filter); }

bool ListaRicette(db::DataSet &dataset)
{
    return ListaArticoli(dataset, QStringLiteral("a.categoria IN (SELECT c.categoria FROM categorie c WHERE c.tipo = 'R')"));
}

bool ListaIngredienti(db::DataSet &dataset, bool onlyFavourites)
{
    QString filter = QStringLiteral("a.categoria IN (SELECT c.categoria FROM categorie c WHERE c.tipo = 'I')");
    if (onlyFavourites)
        filter += QStringLiteral(" AND a.preferito = 1");
    return ListaArticoli(dataset, filter);
}
