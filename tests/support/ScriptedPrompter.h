#pragma once
// The Prompter of the tests: every message the program shows is checked against what the test
// said it expects, in order, and every question or dialog is answered from the script. Nothing
// ever blocks on a window. A message nobody expected, or an expectation never met, fails the test
// at verifyDone() (a failure inside the program's call could not stop the program anyway).
//
//     ScriptedPrompter prompter;          // installed until it goes out of scope
//     prompter.expectInfo("Inserire la ragione sociale prima di continuare!");
//     prompter.expectAsk("Confermi la cancellazione?", true);
//     ... drive the window ...
//     prompter.verifyDone();
#include "ui/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QDialog;

class ScriptedPrompter : public ui::Prompter {
public:
    enum class Kind { Info, Error, Ask, SaveFileName, Exec };

    // Everything the program showed, expected or not.
    struct Message {
        Kind kind;
        QString text;    // the message, the question, the dialog's window title, the save caption
        QString title;
    };

    using DialogHandler = std::function<int(QDialog *)>;

    // Installs itself as the program's prompter; the destructor puts back the one before it.
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter &) = delete;
    ScriptedPrompter &operator=(const ScriptedPrompter &) = delete;

    // An information box with exactly this text.
    void expectInfo(const QString &text);
    // The error box with a text that contains textContains (empty: any error).
    void expectError(const QString &textContains = QString());
    // The Yes/No question with exactly this text, answered Yes (true) or No.
    void expectAsk(const QString &text, bool answer);
    // A modal dialog with this window title; the handler may fill its widgets and returns its result.
    void expectDialog(const QString &windowTitle, DialogHandler handler = acceptDialog);
    // A modal dialog of any title.
    void expectDialog(DialogHandler handler);
    // A save dialog, answered with fileName (empty: cancelled).
    void expectSaveFileName(const QString &fileName);

    static int acceptDialog(QDialog *);
    static int rejectDialog(QDialog *);

    // QVERIFYs that every expectation was met and that nothing unexpected was shown.
    void verifyDone();
    // Forgets expectations and the record (between phases of a test).
    void reset();

    const QList<Message> &messages() const { return messages_; }
    const QStringList &unexpected() const { return unexpected_; }

    void info(const QString &text, const QString &title) override;
    void error(const QString &text) override;
    bool ask(const QString &text, const QString &title, ui::Icon icon, bool defaultYes) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    int exec(QDialog *dialog) override;

private:
    struct Expectation {
        Kind kind = Kind::Info;
        QString text;
        bool contains = false;    // text is a part of the message rather than all of it
        bool anyText = false;
        bool answer = false;
        QString fileName;
        DialogHandler handler;
        QString describe() const;
    };

    static Expectation expectation(Kind kind, const QString &text);
    // The next expectation when it matches this call, removed from the script; otherwise the call is
    // recorded as unexpected and nothing is returned.
    bool take(Kind kind, const QString &text, Expectation *out);
    static QString kindName(Kind kind);

    std::deque<Expectation> script_;
    QList<Message> messages_;
    QStringList unexpected_;
    ui::Prompter *previous_ = nullptr;
};
