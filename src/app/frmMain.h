#pragma once
// The main window: menus, toolbar, the area of the child windows, the start-up and the shutdown.
#include "ui/DBNavigator.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;
class TfrmMDIChild;

namespace db {
class DataSet;
class Field;
}
namespace ui {
class DBEdit;
class DBNavigator;
}

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Fills AppConfig from the configuration files and builds the window; touches no database.
    // programFolder: the folder of the program and its files, ending with "/"; empty means the
    // executable's folder (tests pass a temporary one). It becomes the current directory.
    explicit TfrmMain(const QString &programFolder = QString(), QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The long-lived windows and the data module, whose start-up opens the database and finally
    // starts Timer1. A failed start is reported and leaves the menus disabled.
    void CreateLongLivedWindows();

    // "Brivola - Versione 2.1.2", followed by " - " and the company name when there is one.
    void RefreshCaption();
    // The line under the main picture (company left, VAT number right) and the certification line.
    void ShowCompanyData(const QString &company, const QString &vat, const QString &codiceCert);
    // Enables the menu bar and the commands in the menus; until then every menu is disabled.
    void AbilitaMenu();
    // Hides "Amministratore" and shows the administrator submenu in its place (after the password).
    void ShowAdminMenu();

    // True when nothing is pending (Save disabled) or a record is being added for a lookup list;
    // otherwise tells the user to save or cancel first and returns false.
    bool CanClose();
    // The shutdown: pending changes, child windows one by one, automatic backup, termination.
    void TerminaExecute();

    // Child windows. A child window is the widget of a sub-window of MDIArea; its object name is its
    // component name ("frmCarico"), at most one window per name.
    QWidget *GetMDIForm(const QString &name) const;   // name without regard to case, or nullptr
    // Brings forward every child with that name (without regard to case); false when there is none.
    // Throws db::Abort when the database is closed or changes are pending.
    bool ActivateMDI(const QString &name);
    // Closes the active child after its own close query (false when it refuses); with no active
    // child, destroys the first one.
    bool CloseActiveMDI();
    // Destroys every child with exactly that name; true when one was destroyed.
    bool CloseMDI(const QString &name);
    void SetActiveMDI();
    // A child's sub-window without title bar and border icons, so that the child looks like a page
    // of the main window; its size is the child's own.
    void HideTitlebar(QMdiSubWindow *sub);
    // Lot tracing of loads (frmRintraccia) and of production (frmRintracciaP), opened or brought
    // forward; called by the movement window.
    void RintracciaCarico();
    void RintracciaScarico();

    // The window class behind a component name: the commands create it through factory. A name
    // without a factory opens the feature-in-preparation box.
    using ChildFactory = std::function<TfrmMDIChild *()>;
    void registerChildWindow(const QString &name, ChildFactory factory);
    bool isChildWindowRegistered(const QString &name) const;
    // The active child window when it is a TfrmMDIChild, or nullptr.
    TfrmMDIChild *ActiveChild() const;
    // The child window whose binding ran last (its MainDataSet is in dsCorrente), or nullptr.
    TfrmMDIChild *BoundChild() const;
    void setBoundChild(TfrmMDIChild *child);

    // The dataset of the active child window, on which the navigator and Export act; nullptr when
    // none is bound.
    db::DataSet *dsCorrente() const;
    void setDsCorrente(db::DataSet *ds);

    // Toolbar commands.
    // Save: posts every dataset being edited and commits the working transaction (retaining); in the
    // insert-from-list mode, posts the new record, hands its code back and closes its window.
    void sbCommitClick();
    // Cancel: cancels the edits, rolls back (retaining) and reloads every dataset; in the
    // insert-from-list mode, cancels the new record and closes its window.
    void sbRollbackClick();
    // Refresh (F5): after CanClose, reloads every open dataset of the working connection.
    void sbRefreshClick();
    void sbPrintClick();
    void sbGridClick();
    // Reloads every open dataset of the working connection (except the scratch queries), each at
    // its position; one that cannot be reopened stays closed, without a message.
    void RefreshDataSets();
    // The navigator's button with its rules: every action waits for pending changes, a second empty
    // insert is dropped, a deletion is confirmed (unless the dataset asks its own question) and
    // saved at once. Returns false when a rule dropped the action.
    bool NavigatorAction(ui::DBNavigator::Button button);
    // The print menu of the active child at globalPos (right button on Print); the menu shown, or
    // nullptr when the active child has none.
    QMenu *ShowPrintMenu(const QPoint &globalPos);

    // Start-up step: the silent update check (when enabled), then the menus.
    void Timer1Timer();

    // Menu and toolbar commands, named after their component.
    void Caricomagazzino1Click();
    void Produzione1Click();
    void Altriusi1Click();
    void Riepiloghi1Click();
    void Anagrafica1Click();
    void TabellaFornitori1Click();
    void Tabellaingredienti1Click();
    void Titolazioneingrediente1Click();
    void Visualizzamagazzino1Click();
    void GestionesistemaRizododo1Click();
    void GestionesistemaVelmonti1Click();
    void Tabellaricette1Click();
    void Informazioni1Click();
    void Controllaaggiornamentiora1Click();
    // The action has already inverted its own check mark when this runs.
    void ControllaAggAutomat1Click();
    void Teleassistenzaremota1Click();
    void Hotlinetelefonica1Click();
    void HotlineSkype1Click();
    void Amministratore1Click();
    void Categorie1Click();
    void Parametri1Click();
    void Preferenze1Click();
    void Tastisceltarapida1Click();
    void Backuparchivi1Click();
    void Parametribilanciamento1Click();
    void SpeedButton1Click();
    // "Lista (F3)": a release of F3 to the focused control of the active child (its lookup).
    void SpeedButton2Click();
    void sbExitClick();

    // --- lookups (frmMainLookup.cpp) ---
    // The lookup of a description field (field.lookup) whose text was changed; run from the field's
    // OnValidate, which aborts (db::abort) when it returns false so that the change is abandoned.
    // filter: an extra SQL condition on the looked-up table; onNew: the command that opens the
    // archive window on a new record when the user asks for one ("Nuovo"), for this lookup only.
    // An emptied text empties the code field, unless the field is required: then its message, false.
    bool CheckLookUpDesc(db::Field &field, const QString &filter = QString(), std::function<void()> onNew = {});
    // F3 on a window's code field: the user picks a record of the field's dataset, which moves to it;
    // the active child window's activation then runs again.
    bool ListSearch(db::Field &field);
    // "Attenzione! Questo campo è obbligatorio!" and true when the field is required.
    bool IsRequired(const db::Field &field);
    // Exit handler of required edit boxes: an empty box of a required field shows the message of
    // IsRequired, takes the focus back once the focus move is over, and returns false.
    bool CheckRequired(ui::DBEdit *editBox);
    // --- end lookups ---

    // Called at the end of a completed shutdown; quits the event loop unless replaced (tests).
    std::function<void()> OnTerminate;

    // Shared values of the program run.
    QString MovementKind;              // "C", "P", "S": the movement window's mode
    QString SummaryKind;               // "C", "P", "S", "T": the operations summary's kind
    bool CategorieAdmin = false;       // the categories window works in administration mode
    QDate UltimaDataDoc;               // last document date entered
    qint64 DocDaMostrare = 0;          // a document to position on, and its kind
    QString GenereDaMostrare;
    bool UsaIngredientiPreferiti = true;
    qint64 ArticoloDaMostrare = 0;     // an article to position on
    QString FiltroCategoriaIngredienti;
    QString FiltroCategoriaRicette;
    qint64 DocDaRintracciare = 0;      // document and row handed to lot tracing
    qint64 RigaDaRintracciare = 0;
    bool InsertDaLista = false;        // a child window was opened to add one record for a lookup list

    // One-shot start-up timer (1000 ms); started by the data module at the end of its start-up.
    QTimer *Timer1 = nullptr;

    // Menu bar. Object names are the component names, the keys of ShortCut.ini.
    QMenu *Registrazioni1 = nullptr;
    QAction *Caricomagazzino1 = nullptr;
    QAction *Produzione1 = nullptr;
    QAction *Altriusi1 = nullptr;
    QAction *Riepiloghi1 = nullptr;   // an item of the menu bar itself
    QMenu *Fornitori1 = nullptr;
    QAction *Anagrafica1 = nullptr;
    QAction *TabellaFornitori1 = nullptr;   // no menu entry: reached from the supplier card
    QMenu *Ingredienti1 = nullptr;
    QAction *Tabellaingredienti1 = nullptr;
    QAction *Titolazioneingrediente1 = nullptr;
    QAction *Visualizzamagazzino1 = nullptr;
    QMenu *Ricette1 = nullptr;
    QAction *GestionesistemaRizododo1 = nullptr;
    QAction *GestionesistemaVelmonti1 = nullptr;
    QAction *Tabellaricette1 = nullptr;
    QMenu *Assistenza1 = nullptr;
    QAction *Informazioni1 = nullptr;
    QAction *Controllaaggiornamentiora1 = nullptr;
    QAction *ControllaAggAutomat1 = nullptr;
    QAction *Teleassistenzaremota1 = nullptr;
    QAction *Hotlinetelefonica1 = nullptr;
    QAction *HotlineSkype1 = nullptr;
    QAction *Amministratore1 = nullptr;
    QMenu *Amministratore2 = nullptr;   // hidden until the administrator password is given
    QAction *Categorie1 = nullptr;
    QAction *Parametri1 = nullptr;
    QAction *Preferenze1 = nullptr;
    QMenu *Impostazioni1 = nullptr;
    QAction *Tastisceltarapida1 = nullptr;
    QAction *Backuparchivi1 = nullptr;
    QAction *Parametribilanciamento1 = nullptr;
    QMenu *Uscita1 = nullptr;
    QAction *Termina1 = nullptr;

    // Toolbar band, left to right.
    QWidget *Panel1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;   // "Registrazione operazioni"
    QToolButton *SpeedButton2 = nullptr;   // "Lista (F3)", hidden
    ui::DBNavigator *DBNavigator1 = nullptr;
    QToolButton *sbCommit = nullptr;
    QToolButton *sbRollback = nullptr;
    QToolButton *sbRefresh = nullptr;
    QToolButton *sbPrint = nullptr;
    QToolButton *sbGrid = nullptr;
    QToolButton *sbExport = nullptr;
    QToolButton *sbExit = nullptr;

    // The area of the child windows, with the pictures and the company data behind them.
    QMdiArea *MDIArea = nullptr;
    QLabel *lblCompanyName = nullptr;
    QLabel *lblVatNumber = nullptr;
    QLabel *lblCertificazione = nullptr;

    // Print pop-up menus: "&Anteprima" / "&Stampa", and the register/totals menu of the operations
    // summary with "&Registro" / "&Totali" under each.
    QMenu *pmStampa = nullptr;
    QAction *pmStampaAnteprima = nullptr;
    QAction *pmStampaStampa = nullptr;
    QMenu *pmStampaDoc = nullptr;
    QMenu *pmStampaDocAnteprima = nullptr;
    QMenu *pmStampaDocStampa = nullptr;
    QAction *pmAnteprimaRegistro = nullptr;
    QAction *pmAnteprimaTotali = nullptr;
    QAction *pmStampaRegistro = nullptr;
    QAction *pmStampaTotali = nullptr;

signals:
    // ActivateMDI brought this child forward: its activation handler should run now, even when it
    // was already the active child.
    void childActivated(QWidget *child);

protected:
    // The close box never closes the window directly: it runs the shutdown.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildClientArea();
    void buildPrintMenus();
    // The print pop-up menus' calls on the child recognised when the menu opened.
    void PrintFromMenu(bool preview, bool totals);
    // Runs the activation handler of child (a TfrmMDIChild); unless forced, only when another child
    // was activated last (the main window's own activation brings the same child back).
    void activateChild(QWidget *child, bool force);
    void updateNavigator();
    // Registers the program's windows (ChildWindows.cpp).
    void RegisterChildWindows();
    QAction *addCommand(QMenu *menu, const char *name, const QString &caption, void (TfrmMain::*handler)());
    QToolButton *addToolButton(const char *name, const QString &caption, const QString &hint,
                               const QString &icon);
    // Runs a command as a user-interface entry point: a silent abort ends it quietly, any other
    // error is shown by the error box.
    void runCommand(const std::function<void()> &command);

    // The pattern of every "open a window" command, after its own CanClose: the window of that name
    // comes forward, or a new one is created.
    void OpenChild(const QString &name);
    // The box for features still in preparation.
    void ShowWorking();
    bool databaseOpen() const;
    void RunAutoBackup();

    // ShortCut.ini: the user's menu shortcuts are applied by the shortcut editor's loader (not yet).
    void LoadShortcuts() {}
    // The silent update check run at start when ControlloAgg is on (not yet).
    void CheckUpdatesSilently() {}

    QList<QMdiSubWindow *> children() const;
    static QString childName(const QMdiSubWindow *sub);

    QWidget *background_ = nullptr;
    bool terminated_ = false;
    bool inTermina_ = false;

    QHash<QString, ChildFactory> factories_;
    QPointer<db::DataSet> dsCorrente_;
    QList<QMetaObject::Connection> navigatorConnections_;
    QPointer<TfrmMDIChild> boundChild_;
    QPointer<QWidget> lastActivated_;
    QPointer<TfrmMDIChild> printChild_;
    bool activating_ = false;
    bool f10Pressed_ = false;
};

extern TfrmMain *frmMain;
