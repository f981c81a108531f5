#include "Prompter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace ui {

namespace {
Prompter *installed = nullptr;

QWidget *parentWindow() { return QApplication::activeWindow(); }

QString appTitle()
{
    const QString t = QApplication::applicationName();
    return t.isEmpty() ? QStringLiteral("Brivola") : t;
}
} // namespace

Prompter &Prompter::instance()
{
    static QtPrompter qtPrompter;
    return installed ? *installed : static_cast<Prompter &>(qtPrompter);
}

void Prompter::install(Prompter *p) { installed = p; }

void QtPrompter::info(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Information, title.isEmpty() ? appTitle() : title, text, QMessageBox::Ok,
                    parentWindow());
    box.exec();
}

void QtPrompter::error(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, appTitle(), text, QMessageBox::Ok, parentWindow());
    box.exec();
}

bool QtPrompter::ask(const QString &text, const QString &title, Icon icon, bool defaultYes)
{
    QMessageBox::Icon qicon = QMessageBox::Question;
    switch (icon) {
    case Icon::None: qicon = QMessageBox::NoIcon; break;
    case Icon::Information: qicon = QMessageBox::Information; break;
    case Icon::Warning: qicon = QMessageBox::Warning; break;
    case Icon::Critical: qicon = QMessageBox::Critical; break;
    case Icon::Question: qicon = QMessageBox::Question; break;
    }
    QMessageBox box(qicon, title.isEmpty() ? appTitle() : title, text, QMessageBox::Yes | QMessageBox::No,
                    parentWindow());
    box.setButtonText(QMessageBox::Yes, QStringLiteral("&Sì"));
    box.setButtonText(QMessageBox::No, QStringLiteral("&No"));
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompter::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), caption, dir, filter);
}

int QtPrompter::exec(QDialog *dialog) { return dialog->exec(); }

} // namespace ui
