#pragma once
// Ten years of a busy gelato workshop, for the stock benchmarks: 250 working days a year,
// 80 ingredients, 60 recipes, about 60 document rows a day, milk in almost every production run.
// The data set is deterministic: the same arguments always write the same rows with the same keys.
#include <QDate>
#include <QString>

namespace stockbench {

// The ingredient that moves most: milk, loaded three or four times a day and used by nearly every run.
constexpr int kMilk = 1;
constexpr int kIngredients = 80;
constexpr int kFirstRecipe = 101;
constexpr int kRecipes = 60;

struct DatasetSummary {
    QDate firstDay;
    QDate lastDay;
    int documents = 0;
    int rows = 0;
    int milkRows = 0;
};

// Creates the database file with the program's creation routine (scripts from sqlDir) and writes
// the movements of the given number of working days into it, committing every few days as a
// workshop would. Throws db::DbError on failure.
DatasetSummary generateStockDataset(const QString &file, const QString &sqlDir, int workingDays = 2500);

// The working days of the data set, oldest first.
QList<QDate> workingDays(int count);

} // namespace stockbench
