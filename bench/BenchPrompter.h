#pragma once
// The benchmarks never wait on a window: messages go to the terminal, questions are answered No.
#include "ui/Prompter.h"

#include <QDialog>
#include <QTextStream>

class BenchPrompter : public ui::Prompter {
public:
    BenchPrompter() { ui::Prompter::install(this); }
    ~BenchPrompter() override { ui::Prompter::install(nullptr); }
    void info(const QString &text, const QString &) override { QTextStream(stderr) << "info: " << text << "\n"; }
    void error(const QString &text) override { QTextStream(stderr) << "error: " << text << "\n"; }
    bool ask(const QString &text, const QString &, ui::Icon, bool) override
    {
        QTextStream(stderr) << "ask: " << text << "\n";
        return false;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return QString(); }
    int exec(QDialog *) override { return QDialog::Rejected; }
};
