#pragma once
// Edit boxes, check boxes, drop-downs and a grid bound to the fields of a DataSet. They show the
// current record and follow it; typing puts the dataset in edit, and the typed text goes into the
// field when the box is left or when the record is posted.
#include "DataSetModel.h"
#include "db/DataSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

namespace ui {

// Runs f as a user action: a silent abort shows nothing, a database error shows its text.
// Returns false when f failed.
bool userAction(const std::function<void()> &f);

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(db::DataSet *ds, const QString &field, QWidget *parent = nullptr);
    db::Field *field() const;
    // Writes pending text into the field; false when the field refused it (the text is reset).
    bool commit();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void showValue();
    QPointer<db::DataSet> ds_;
    QString field_;
    bool dirty_ = false;
};

class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    DBCheckBox(db::DataSet *ds, const QString &field, const QString &text, QWidget *parent = nullptr);

private:
    void showValue();
    QPointer<db::DataSet> ds_;
    QString field_;
    bool updating_ = false;
};

// A drop-down of the rows of a list dataset (code and description columns): shows the description
// of the field's code and writes the chosen code into the field.
class DBLookupCombo : public QComboBox {
    Q_OBJECT
public:
    DBLookupCombo(db::DataSet *ds, const QString &field, db::DataSet *list, const QString &codeField,
                  const QString &descField, QWidget *parent = nullptr);
    void reload();

private:
    void showValue();
    QPointer<db::DataSet> ds_, list_;
    QString field_, codeField_, descField_;
    bool updating_ = false;
};

// A grid over a DataSet whose current row and the dataset's current record follow each other.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(db::DataSet *ds, QWidget *parent = nullptr);
    DataSetModel *dataModel() const { return model_; }
    db::DataSet *dataSet() const { return ds_; }
    void setColumns(const QList<GridColumn> &columns);

private:
    void followDataSet();
    QPointer<db::DataSet> ds_;
    DataSetModel *model_;
    bool syncing_ = false;
};

} // namespace ui
