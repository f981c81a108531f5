#include "ScriptedPrompter.h"

#include <QDialog>
#include <QTest>

ScriptedPrompter::ScriptedPrompter() : previous_(&ui::Prompter::instance())
{
    ui::Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    // The Qt prompter is the built-in one: installing nullptr brings it back.
    ui::Prompter::install(dynamic_cast<ui::QtPrompter *>(previous_) ? nullptr : previous_);
}

QString ScriptedPrompter::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Info: return QStringLiteral("info");
    case Kind::Error: return QStringLiteral("error");
    case Kind::Ask: return QStringLiteral("ask");
    case Kind::SaveFileName: return QStringLiteral("saveFileName");
    case Kind::Exec: return QStringLiteral("dialog");
    }
    return QString();
}

QString ScriptedPrompter::Expectation::describe() const
{
    if (anyText)
        return kindName(kind);
    return QStringLiteral("%1%2 \"%3\"").arg(kindName(kind), contains ? QStringLiteral(" containing") : QString(), text);
}

ScriptedPrompter::Expectation ScriptedPrompter::expectation(Kind kind, const QString &text)
{
    Expectation e;
    e.kind = kind;
    e.text = text;
    return e;
}

void ScriptedPrompter::expectInfo(const QString &text) { script_.push_back(expectation(Kind::Info, text)); }

void ScriptedPrompter::expectError(const QString &textContains)
{
    Expectation e = expectation(Kind::Error, textContains);
    e.contains = true;
    e.anyText = textContains.isEmpty();
    script_.push_back(e);
}

void ScriptedPrompter::expectAsk(const QString &text, bool answer)
{
    Expectation e = expectation(Kind::Ask, text);
    e.answer = answer;
    script_.push_back(e);
}

void ScriptedPrompter::expectDialog(const QString &windowTitle, DialogHandler handler)
{
    Expectation e = expectation(Kind::Exec, windowTitle);
    e.handler = std::move(handler);
    script_.push_back(e);
}

void ScriptedPrompter::expectDialog(DialogHandler handler)
{
    Expectation e = expectation(Kind::Exec, QString());
    e.anyText = true;
    e.handler = std::move(handler);
    script_.push_back(e);
}

void ScriptedPrompter::expectSaveFileName(const QString &fileName)
{
    Expectation e = expectation(Kind::SaveFileName, QString());
    e.anyText = true;
    e.fileName = fileName;
    script_.push_back(e);
}

int ScriptedPrompter::acceptDialog(QDialog *) { return QDialog::Accepted; }
int ScriptedPrompter::rejectDialog(QDialog *) { return QDialog::Rejected; }

bool ScriptedPrompter::take(Kind kind, const QString &text, Expectation *out)
{
    const QString shown = QStringLiteral("%1 \"%2\"").arg(kindName(kind), text);
    if (script_.empty()) {
        unexpected_ << shown + QStringLiteral(" (nothing more was expected)");
        return false;
    }
    const Expectation &next = script_.front();
    const bool textMatches = next.anyText || (next.contains ? text.contains(next.text) : text == next.text);
    if (next.kind != kind || !textMatches) {
        unexpected_ << shown + QStringLiteral(" (expected ") + next.describe() + QLatin1Char(')');
        return false;
    }
    *out = next;
    script_.pop_front();
    return true;
}

void ScriptedPrompter::info(const QString &text, const QString &title)
{
    messages_.append({Kind::Info, text, title});
    Expectation e;
    take(Kind::Info, text, &e);
}

void ScriptedPrompter::error(const QString &text)
{
    messages_.append({Kind::Error, text, QString()});
    Expectation e;
    take(Kind::Error, text, &e);
}

bool ScriptedPrompter::ask(const QString &text, const QString &title, ui::Icon, bool)
{
    messages_.append({Kind::Ask, text, title});
    Expectation e;
    return take(Kind::Ask, text, &e) && e.answer;
}

QString ScriptedPrompter::saveFileName(const QString &caption, const QString &, const QString &)
{
    messages_.append({Kind::SaveFileName, caption, QString()});
    Expectation e;
    return take(Kind::SaveFileName, caption, &e) ? e.fileName : QString();
}

int ScriptedPrompter::exec(QDialog *dialog)
{
    const QString title = dialog ? dialog->windowTitle() : QString();
    messages_.append({Kind::Exec, title, QString()});
    Expectation e;
    if (!take(Kind::Exec, title, &e))
        return QDialog::Rejected;
    const int result = e.handler ? e.handler(dialog) : int(QDialog::Accepted);
    if (dialog)
        dialog->setResult(result);
    return result;
}

void ScriptedPrompter::verifyDone()
{
    QStringList pending;
    for (const Expectation &e : script_)
        pending << e.describe();
    QVERIFY2(unexpected_.isEmpty(),
             qPrintable(QStringLiteral("unexpected messages: ") + unexpected_.join(QStringLiteral("; "))));
    QVERIFY2(pending.isEmpty(), qPrintable(QStringLiteral("never shown: ") + pending.join(QStringLiteral("; "))));
}

void ScriptedPrompter::reset()
{
    script_.clear();
    messages_.clear();
    unexpected_.clear();
}
