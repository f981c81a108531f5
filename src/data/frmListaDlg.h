#pragma once
// The lookup list: one modal dialog ("Lista") that lists the codes and descriptions of a table,
// narrows the list while the user types and hands the chosen code and description back.
//
// Its uses:
//  - a description field being typed (TfrmMain::CheckLookUpDesc, from the field's OnValidate):
//    ListaDB resolves the text to one record, asking the user only when the text is ambiguous;
//  - F3 on a window's code field (ListSearch): the user picks a record and the dataset moves to it;
//  - the article searches of the ingredient and recipe windows (ListaArticoli and friends).
//
// A field that can be looked up carries its settings in Field::lookup (db::LookupSpec); the table is
// the field's origin up to the point. The list's statement is built on the field's own transaction.
// Typed text reaches the statement only as parameter values; codes written into a statement are
// quoted literals with their quotes doubled.
//
// "Nuovo" (or Ctrl+Insert) runs the caller's OnNew command, which opens the archive window of the
// looked-up table on a new record (the insert-from-list mode of the main window). The lookup's field
// is remembered in InsertParams(): when the archive window's Save hands back the new code, it goes
// into the lookup's code field and the new record's description into the field itself.
#include "db/DataSet.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace ui {
class DBGrid;
}

// The settings of the lookup being run, shared by all lookups.
struct TListParameters {
    QString CodeColumn;   // code column of the current lookup
    QString DescColumn;   // description column
    QString TableName;    // table listed
    QString SearchLabel;  // as in db::LookupSpec: CodeColumn searches by code, else by description
    QString Filter;       // an extra SQL condition on the table, or empty
    QString SearchText;   // the text the list starts with
    QString ResultCode;   // the chosen code (first column of the chosen row)
    QString ResultDesc;   // the chosen description (second column)
    // The caller's command that opens an archive window to add the missing record; empty means that
    // the list offers no new record. Given for one lookup only: dropped when that lookup ends.
    std::function<void()> OnNew;
};

class TfrmListaDlg : public QDialog {
    Q_OBJECT
public:
    // Result codes of the dialog.
    enum Result { Chosen = QDialog::Accepted, NothingChosen = QDialog::Rejected, NewRecordAsked = 2 };

    explicit TfrmListaDlg(QWidget *parent = nullptr);
    ~TfrmListaDlg() override;

    TListParameters ListParams;
    // A list is being shown: a lookup that starts meanwhile does nothing.
    bool ListActive = false;
    // A description field's lookup is running: the changes it makes itself start no new lookup.
    bool LookupRunning = false;

    // Builds and opens the list statement from ListParams on the current query; false on any error,
    // without a message.
    bool PreparaQuery();
    // Before and after every showing of the list.
    void ActivateList();
    void DeactivateList();
    // Shows the prepared list; the choice is left in ResultCode and ResultDesc.
    bool ShowInList();
    // Shows the prepared list for a field (skipped when byValue and exactly one row matches) and
    // writes the choice into it: the code into its code field, the description into the field.
    bool ShowInField(db::Field &field, bool byValue);
    // Whether the field's text already identifies one row, so that no list is needed.
    bool CheckCodiceDesc(db::Field &field);
    // The lookup of a field from its settings, with an extra condition (may be empty).
    bool ListaDB(db::Field &field, bool byValue, const QString &filter);
    // Lets the user choose a record of the field's own dataset and moves the dataset to it; true when
    // the dataset moved.
    bool ListSearch(db::Field &field);
    // The article list on the working connection: every article matching filter (an SQL condition on
    // "articoli a", or empty); the dataset moves to the chosen article. True when it moved.
    bool ListaArticoli(db::DataSet &dataset, const QString &filter);

    // The query of the current lookup ("qLista"), or null between lookups.
    db::DataSet *qLista() const { return qLista_.get(); }

    // Widgets, named after their components.
    QPushButton *btnIndice = nullptr;       // search mode: "Codice" or "Descrizione"
    QLineEdit *Edit1 = nullptr;             // the search box
    QPushButton *btnPercento = nullptr;     // "%"
    QPushButton *btnHdrCodice = nullptr;    // column headers
    QPushButton *btnHdrDescrizione = nullptr;
    ui::DBGrid *DBGrid1 = nullptr;          // the list; exists while a query does
    QPushButton *btnOK = nullptr;
    QPushButton *btnNuovo = nullptr;
    QPushButton *btnAnnulla = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // A new, empty query named "qLista" on tr, with a new list over it.
    void newQuery(db::Transaction &tr);
    void dropQuery();
    // The search while typing: the box's text, in upper case, into the parameter of the search mode.
    void Search();
    void SetAllParams(const QString &value);
    // The parameter named like the search-mode caption, or the first one.
    QString SearchParam() const;
    void SwitchIndex();
    void OrderBy(int column, const QString &mode);
    void TogglePercent();
    void Choose();
    void AskNew();
    // Sets InsertDaLista, clears Started and runs onNew; target (when given) gets the new code back at
    // the archive window's Save.
    void NewRecordCommand(const std::function<void()> &onNew, db::Field *target);
    void ReadChoice();
    // Runs the list modally; the result code.
    int ShowModal();

    std::unique_ptr<db::DataSet> qLista_;
    QVBoxLayout *gridHolder_ = nullptr;
    bool searching_ = false;
};

// The one lookup dialog of the program run.
extern TfrmListaDlg *frmListaDlg;
// The dialog, created (owned by the main window when there is one) on first use.
TfrmListaDlg &ListaDlg();

// The article searches of the recipe and ingredient windows; they move dataset to the chosen
// article and return whether it moved.
bool ListaArticoli(db::DataSet &dataset, const QString &filter);
bool ListaRicette(db::DataSet &dataset);
bool ListaIngredienti(db::DataSet &dataset, bool onlyFavourites);
