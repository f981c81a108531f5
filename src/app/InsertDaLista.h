#pragma once
// Adding one record from a lookup list: the list opens the window of the looked-up table with
// TfrmMain::InsertDaLista set; that window starts an insert in DataSet once, and Save hands back the
// new record's Field text in Value (and, through TargetField, fills the lookup that asked for it).
#include <QString>
#include <functional>

namespace db {
class DataSet;
class Field;
}

struct TInsertDaListParams {
    db::DataSet *DataSet = nullptr;    // the dataset in which the new record is inserted
    QString Field;                     // the field whose text becomes Value at Save
    QString Value;                     // the saved record's Field text
    bool Started = false;              // the insert was started (only once per opening)
    db::Field *TargetField = nullptr;  // the lookup field (still in edit) that asked for the record
    QString TargetCodeField;           // the field of TargetField's dataset that takes the new code
    // Called at Save, after Value is taken, with Value; filled by the lookup that asked.
    std::function<void(const QString &code)> OnSaved;
};

TInsertDaListParams &InsertParams();
