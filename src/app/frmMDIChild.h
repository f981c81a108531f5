#pragma once
// The base of every record window: a page of the main window's child area without title bar,
// bound to the toolbar while it is active (its main dataset to the navigator, its print and grid
// procedures to Print and Grid), with the keyboard map of saving, cancelling, refreshing and moving.
//
// A window derives from it, names itself after its component and sets its procedures:
//
//     TfrmDomini::TfrmDomini() : TfrmMDIChild(QStringLiteral("frmDomini"))
//     {
//         ... build the widgets, create own datasets with dmGenerale->CreateDataSet(name, this) ...
//         MainDataSet = dmGenerale->tabTDominio;
//         PrintProc = [this] { ... };          // optional: enables Print
//         GridProc = [this] { ... };           // optional: enables Grid
//     }
//
// and is registered once in ChildWindows.cpp. The main window creates it on its command, shows it
// and runs FormActivate whenever it becomes the active child.
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace db {
class DataSet;
}
namespace ui {
class DBEdit;
}

class TfrmMDIChild : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 1004;
    static constexpr int DesignHeight = 613;

    // name: the component name by which the main window finds the window ("frmCarico").
    explicit TfrmMDIChild(const QString &name);
    ~TfrmMDIChild() override;

    // The window's main dataset (not owned): the navigator acts on it while the window is active.
    db::DataSet *MainDataSet = nullptr;
    // Run by Print and Grid; unset disables the button.
    std::function<void()> PrintProc;
    std::function<void()> GridProc;

    // The printing windows' preview or print (the print pop-up menu), ask: the window's own question
    // before printing. The operations summary also takes register (false) or totals (true); a
    // window overriding one of the two adds "using TfrmMDIChild::Anteprima_stampa;".
    virtual void Anteprima_stampa(bool preview, bool ask);
    virtual void Anteprima_stampa(bool preview, bool totals, bool ask);

    // The sub-window of the main window's child area holding this window.
    QMdiSubWindow *subWindow() const { return sub_; }
    // The control of this window that had the focus last (it gets it back when the window returns).
    QWidget *lastFocused() const { return lastFocused_; }

    // Binding to the main window, each time the window becomes the active child. A derived window
    // may set GridProc first and calls this.
    virtual void FormActivate();
    // The keyboard map; true when the key was consumed. A derived window may take some keys itself
    // and pass the others here.
    virtual bool FormKeyDown(QWidget *target, QKeyEvent *event);
    // The close query asked before the main window closes the window; false refuses.
    virtual bool FormCloseQuery() { return true; }

    // Exit handler of a required data-bound edit box: an empty box of a required field shows
    // "Attenzione! Questo campo è obbligatorio!" and takes the focus back; false then.
    bool EditExit(ui::DBEdit *box);
    // Runs EditExit whenever the user leaves box.
    void CheckOnExit(ui::DBEdit *box);

protected:
    // Places the window without title bar at the top left of the child area. Run by the base's
    // constructor.
    void FormCreate();
    // Unbinds the window from the toolbar. Run by the base's destructor.
    void FormDestroy();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The navigator's action when the main window has one; false when it was dropped or failed.
    static bool navigate(int button);
    // Delivers a copy of a key that goes on to its control, without passing the map again.
    void forward(QWidget *target, QKeyEvent *event);

    QPointer<QMdiSubWindow> sub_;
    QPointer<QWidget> lastFocused_;
    bool forwarding_ = false;
    bool inExit_ = false;
};
