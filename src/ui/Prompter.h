#pragma once
// Every message box, question, file dialog and modal dialog of the program goes through the one
// installed Prompter. The program installs QtPrompter; tests install a scripted one that records
// the messages and answers the questions from a queue, so no test ever blocks on a window.
#include <QString>

class QDialog;
class QWidget;

namespace ui {

enum class Icon { None, Information, Warning, Critical, Question };

class Prompter {
public:
    virtual ~Prompter() = default;

    // An information box with an OK button (the rules' refusals, the program's notices).
    virtual void info(const QString &text, const QString &title = QString()) = 0;
    // The standard error box: the text of an error (a database error's server text), untranslated.
    virtual void error(const QString &text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString &text, const QString &title = QString(), Icon icon = Icon::Question,
                     bool defaultYes = true) = 0;
    // A file name to save to; empty when the user cancelled.
    virtual QString saveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    // Runs a modal dialog and returns its result code (QDialog::Accepted / Rejected).
    virtual int exec(QDialog *dialog) = 0;

    static Prompter &instance();
    // Installs p (not owned); nullptr restores the Qt implementation.
    static void install(Prompter *p);
};

// Shortcut used everywhere: ui::prompter().info(...)
inline Prompter &prompter() { return Prompter::instance(); }

class QtPrompter : public Prompter {
public:
    void info(const QString &text, const QString &title) override;
    void error(const QString &text) override;
    bool ask(const QString &text, const QString &title, Icon icon, bool defaultYes) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    int exec(QDialog *dialog) override;
};

} // namespace ui
