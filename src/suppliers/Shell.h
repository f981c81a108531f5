#pragma once
// Opening a mail or web address with the desktop's own program. Tests install their own shell to
// see the address and to make the opening fail.
#include <QString>

namespace suppliers {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens address ("mailto:...", "http://...") with the program the desktop associates with it;
    // false when the desktop could not.
    virtual bool open(const QString &address) = 0;

    static Shell &instance();
    // Installs s (not owned); nullptr restores the desktop's shell.
    static void install(Shell *s);
};

class DesktopShell : public Shell {
public:
    bool open(const QString &address) override;
};

inline Shell &shell() { return Shell::instance(); }

} // namespace suppliers
