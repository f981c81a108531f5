#pragma once
// The record set: a select statement held as a list of lines, the records it read, a current
// record and the states Inactive / Browse / Edit / Insert, with the events of a classic
// data-aware desktop program. Post and Delete run their statement at once in the dataset's
// transaction; nothing is committed until the transaction is.
//
// Event order (as the program's rules expect):
//   Append/Insert: BeforeInsert, (record created), OnNewRecord, AfterInsert, AfterScroll
//   Edit:          BeforeEdit, AfterEdit
//   Post:          BeforePost, (statement, refresh of the record), AfterPost
//   Cancel:        BeforeCancel, AfterCancel
//   Delete:        BeforeDelete, (statement), AfterDelete, AfterScroll
//   Field value:   OnValidate (an exception restores the old value), OnChange
// An exception from a Before event (db::Abort for a silent refusal) leaves the state unchanged.
#include "Decimal.h"
#include "Firebird.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace db {

class DataSet;

enum class FieldType { Integer, Decimal, Float, String, Date, Time, DateTime, Boolean, Blob };
enum class DataSetState { Inactive, Browse, Edit, Insert };

// A field that can be looked up in a list of another table's codes and descriptions. The table is
// the field's origin ("TABLE.COLUMN") up to the point. Column names are given as the database
// stores them (upper case): the list's statement quotes them.
struct LookupSpec {
    QString CodeColumn;  // the looked-up table's column that holds the code
    QString DescColumn;  // the column that holds the description
    QString CodeField;   // a description field: the field of the same record that holds the code;
                         // a code field: the field itself
    QString SearchLabel; // the column typing searches first: CodeColumn means by code, else by description
};

class Field {
public:
    Field(DataSet *ds, QString name, FieldType type, int index);

    DataSet &dataSet() const { return *ds_; }
    const QString &name() const { return name_; }
    FieldType type() const { return type_; }
    int index() const { return index_; }

    // Settings (public so that windows and data modules can set them where they create fields).
    int size = 0;           // characters for text
    int scale = 0;          // decimal places for numbers
    bool required = false;
    bool readOnly = false;
    bool calculated = false;
    bool visible = true;
    QString displayLabel;
    QString displayFormat;  // "#,##0.00", "0.00", "##0.00%", "#,##0.###", "0.0" ...
    QString editFormat;
    QString origin;         // table.column it comes from
    int displayWidth = 0;
    LookupSpec lookup;

    std::function<void(Field &)> OnValidate; // may throw (db::Abort): the old value comes back
    std::function<void(Field &)> OnChange;

    QVariant value() const;
    QVariant oldValue() const;
    bool isNull() const;
    QString asString() const;
    qint64 asInteger() const;
    Decimal asDecimal() const;
    double asFloat() const;
    QDate asDate() const;
    bool asBoolean() const;

    // Assigning runs OnValidate then OnChange. Throws DbError when the dataset is not in edit or
    // insert (except calculated fields while they are computed).
    void setValue(const QVariant &v);
    void setAsString(const QString &text); // parses the Italian way: "1.234,56", "31/12/2026"
    void clear() { setValue(QVariant()); }

    // The text shown in a grid or label, and the text offered for editing.
    QString displayText() const { return displayTextOf(value()); }
    QString editText() const { return editTextOf(value()); }
    // The same for any value of this field (a grid's other rows).
    QString displayTextOf(const QVariant &v) const;
    QString editTextOf(const QVariant &v) const;

    // Puts v into the current record without events (used while reading and by the engine).
    void setRaw(const QVariant &v);

private:
    friend class DataSet;
    DataSet *ds_;
    QString name_;
    FieldType type_;
    int index_;
};

class DataSet : public QObject {
    Q_OBJECT
public:
    DataSet(Transaction &tr, const QString &name, QObject *parent = nullptr);
    ~DataSet() override;

    const QString &name() const { return name_; }
    Transaction &transaction() const { return *tr_; }

    // --- statements, each a list of lines -----------------------------------------------------
    QStringList SelectSQL, InsertSQL, ModifySQL, DeleteSQL, RefreshSQL;
    // Replaces line i of the select; when the text changed and the dataset was open, it re-opens.
    // Returns true when it re-opened.
    bool setSelectLine(int i, const QString &line);
    // Builds the insert, update, delete and refresh statements of a table whose key is keyFields;
    // every field whose origin is that table (or every non-calculated field) is written.
    void setTable(const QString &table, const QStringList &keyFields, const QStringList &readOnlyColumns = {});
    // Values of the select's own :NAME parameters (besides those a master supplies).
    void setParam(const QString &name, const QVariant &v) { params_[name.toUpper()] = v; }
    QVariant param(const QString &name) const { return params_.value(name.toUpper()); }

    // --- master-detail -----------------------------------------------------------------------
    // The select's parameter paramName takes masterField of master's current record; the detail
    // re-reads whenever the master's current record changes.
    void setMaster(DataSet *master, const QList<QPair<QString, QString>> &paramToMasterField);
    DataSet *master() const { return master_; }

    // --- fields ------------------------------------------------------------------------------
    // Calculated fields are declared before opening; their values come from OnCalcFields.
    Field &addCalculatedField(const QString &name, FieldType type, int size = 0);
    // Fields declared before opening so that their settings survive; matched by name at open.
    Field &declareField(const QString &name, FieldType type);
    Field *findField(const QString &name) const;
    Field &fieldByName(const QString &name) const; // throws DbError when there is none
    Field &operator[](const QString &name) const { return fieldByName(name); }
    const std::vector<Field *> &fields() const { return fieldList_; }

    // --- state and navigation ----------------------------------------------------------------
    DataSetState state() const { return state_; }
    bool active() const { return state_ != DataSetState::Inactive; }
    bool isEditing() const { return state_ == DataSetState::Edit || state_ == DataSetState::Insert; }
    void open();
    void close();
    // Closes and reopens, then returns to the same record number when there are records. A failure
    // while reopening leaves the dataset closed and is thrown.
    void refresh();
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const { return current_; } // 0-based, -1 when empty
    void setRecNo(int i);
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    void first();
    void last();
    void next();
    void prior();
    void moveBy(int n);
    bool locate(const QString &fieldName, const QVariant &value, bool caseInsensitive = false,
                bool partialKey = false);
    // The value of a field in record i without moving (for grids).
    QVariant valueAt(int record, int fieldIndex) const;
    int openCount() const { return openCount_; }

    // --- editing ------------------------------------------------------------------------------
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    bool modified() const { return modified_; }
    // Re-reads the current record through RefreshSQL (no events).
    void refreshRecord();

    // --- display suspension -------------------------------------------------------------------
    void disableControls() { ++disabled_; }
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }

    // --- events -------------------------------------------------------------------------------
    using Handler = std::function<void(DataSet &)>;
    Handler BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    Handler BeforeInsert, OnNewRecord, AfterInsert;
    Handler BeforeEdit, AfterEdit;
    Handler BeforePost, AfterPost;
    Handler BeforeCancel, AfterCancel;
    Handler BeforeDelete, AfterDelete;
    Handler BeforeScroll, AfterScroll;
    Handler OnCalcFields;

signals:
    // The whole content changed (open, close, refresh, re-read): views reset.
    void contentReset();
    // The current record moved.
    void currentChanged(int record);
    // Values of a record changed (editing, post, cancel, calculation).
    void recordChanged(int record);
    // A record is about to be added at index / was added (insert/append); about to be removed /
    // was removed.
    void recordAboutToBeInserted(int record);
    void recordInserted(int record);
    void recordAboutToBeRemoved(int record);
    void recordRemoved(int record);
    // Post is about to write the record: bound editors put their pending text into the fields.
    void updateRecord();
    void stateChanged(db::DataSetState state);

private:
    friend class Field;
    using Record = std::vector<QVariant>;

    void checkActive() const;
    void checkBrowse(); // posts nothing: throws when a record is being edited
    void readRecords();
    void buildFields(const std::vector<ColumnInfo> &cols);
    void scrollTo(int i, bool force = false);
    void calcFields(Record &rec);
    void recalcCurrent();
    void setState(DataSetState s);
    void doInsert(int at);
    void bindParams(Statement &st, const Record &rec, const Record *old) const;
    void readInto(Record &rec, ResultSet &rs, const std::vector<int> &map);
    void masterChanged();
    Record &currentRecord();
    const Record &currentRecord() const;
    void emitRecordChanged(int i);

    QString name_;
    Transaction *tr_;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<Field *> fieldList_;
    std::vector<Field *> declared_;
    std::vector<Record> records_;
    Record saved_;             // the record as it was before Edit
    int current_ = -1;
    bool bof_ = true, eof_ = true;
    bool modified_ = false;
    bool inCalc_ = false;
    int disabled_ = 0;
    int openCount_ = 0;
    QString openedSql_;
    QMap<QString, QVariant> params_;
    DataSet *master_ = nullptr;
    QList<QPair<QString, QString>> masterParams_;
    QMetaObject::Connection masterConn_;
    QMap<QString, QVariant> masterValues_;
    int insertedAt_ = -1;
    QString tableName_;
    QStringList tableKeys_, tableReadOnly_;
    void buildTableStatements();
    // Prepared statements, kept while the connection they were prepared on is open.
    Statement &prepared(const QString &sql);
    std::map<QString, std::unique_ptr<Statement>> prepared_;
    quint64 preparedGeneration_ = 0;
};

} // namespace db
