#include "frmMain.h"
#include "frmPassword.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "InsertDaLista.h"
#include "Volumes.h"
#include "data/dmGenerale.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "frmBackup.h"
#include "frmMDIChild.h"
#include "frmWait.h"
#include "frmWorking.h"
#include "ui/DBNavigator.h"
#include "ui/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>

TfrmMain *frmMain = nullptr;

// The pictures live in the application's static library, which the linker would drop unless referenced.
static void initResources() { Q_INIT_RESOURCE(app); }

namespace {
const QString PendingChangesMessage = QStringLiteral("Modifiche in sospeso! Salvare o annullare prima di contiunuare.");
constexpr int ClientWidth = 1014;
constexpr int ClientHeight = 683;
constexpr int ToolbarHeight = 60;
} // namespace

TfrmMain::TfrmMain(const QString &programFolder, QWidget *parent) : QMainWindow(parent)
{
    initResources();
    frmMain = this;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Brivola"));
    OnTerminate = [] { QCoreApplication::exit(0); };

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { runCommand([this] { Timer1Timer(); }); });

    buildMenus();
    buildToolbar();
    buildClientArea();
    buildPrintMenus();

    // A child window's activation binds it to the toolbar: when ActivateMDI brings it forward, and
    // when the user or the area switches to it.
    connect(this, &TfrmMain::childActivated, this, [this](QWidget *child) { activateChild(child, true); });
    connect(MDIArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub && !activating_)
            activateChild(sub->widget(), false);
    });
    // F10 released anywhere in the window saves: the window sees the keys before its controls.
    qApp->installEventFilter(this);

    RegisterChildWindows();

    // Fixed client area below the menu bar, centred on the desktop.
    setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    // The configuration. Everything else in AppConfig comes from the database later.
    AppConfigData &config = AppConfig();
    config = AppConfigData();
    QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    config.ProgramFolder = folder;
    QDir::setCurrent(folder);   // relative paths (the Sql folder) resolve against the program folder

    RefreshCaption();
    ReadBrivolaIni(config);
    ControllaAggAutomat1->setChecked(config.ControlloAgg);
    ReadFirebirdIni(config);
    LoadShortcuts();
}

TfrmMain::~TfrmMain()
{
    // The child windows go while the toolbar they unbind from is still there.
    setDsCorrente(nullptr);
    qDeleteAll(children());
    // The data module goes first: it may still hold the database open.
    if (dmGenerale && dmGenerale->parent() == this)
        delete dmGenerale;
    if (frmMain == this)
        frmMain = nullptr;
}

void TfrmMain::CreateLongLivedWindows()
{
    try {
        dmGenerale = new TdmGenerale(this);
        dmGenerale->DataModuleCreate();
    } catch (const db::Abort &) {
        // The data module has already said why.
    } catch (const db::DbError &e) {
        ui::prompter().error(e.text());
    } catch (const std::exception &e) {
        ui::prompter().error(QString::fromUtf8(e.what()));
    }
    if (!frmWait)
        new TfrmWait(this);
    if (!frmWorking)
        new TfrmWorking(this);
    if (!frmBackup)
        new TfrmBackup(this);
}

// --- Menus and toolbar --------------------------------------------------------------------------

QAction *TfrmMain::addCommand(QMenu *menu, const char *name, const QString &caption,
                              void (TfrmMain::*handler)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (menu)
        menu->addAction(action);
    connect(action, &QAction::triggered, this, [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    return action;
}

void TfrmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto newMenu = [this, bar](const char *name, const QString &caption) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    int separators = 0;
    auto separator = [&separators](QMenu *menu) {
        menu->addSeparator()->setObjectName(QStringLiteral("N%1").arg(++separators));
    };

    Registrazioni1 = newMenu("Registrazioni1", QStringLiteral("&Registrazioni"));
    Caricomagazzino1 = addCommand(Registrazioni1, "Caricomagazzino1", QStringLiteral("&Carico magazzino"),
                                  &TfrmMain::Caricomagazzino1Click);
    Produzione1 = addCommand(Registrazioni1, "Produzione1", QStringLiteral("&Produzione"), &TfrmMain::Produzione1Click);
    Altriusi1 = addCommand(Registrazioni1, "Altriusi1", QStringLiteral("Altri usi"), &TfrmMain::Altriusi1Click);

    Riepiloghi1 = addCommand(nullptr, "Riepiloghi1", QStringLiteral("Ri&epiloghi"), &TfrmMain::Riepiloghi1Click);
    bar->addAction(Riepiloghi1);

    Fornitori1 = newMenu("Fornitori1", QStringLiteral("&Fornitori"));
    Anagrafica1 = addCommand(Fornitori1, "Anagrafica1", QStringLiteral("&Anagrafica"), &TfrmMain::Anagrafica1Click);
    TabellaFornitori1 = addCommand(nullptr, "TabellaFornitori1", QStringLiteral("&Tabella Fornitori"),
                                   &TfrmMain::TabellaFornitori1Click);
    addAction(TabellaFornitori1);

    Ingredienti1 = newMenu("Ingredienti1", QStringLiteral("&Ingredienti"));
    Tabellaingredienti1 = addCommand(Ingredienti1, "Tabellaingredienti1", QStringLiteral("&Tabella ingredienti"),
                                     &TfrmMain::Tabellaingredienti1Click);
    Titolazioneingrediente1 = addCommand(Ingredienti1, "Titolazioneingrediente1",
                                         QStringLiteral("&Titolazione ingrediente"),
                                         &TfrmMain::Titolazioneingrediente1Click);
    separator(Ingredienti1);
    Visualizzamagazzino1 = addCommand(Ingredienti1, "Visualizzamagazzino1", QStringLiteral("&Visualizza magazzino"),
                                      &TfrmMain::Visualizzamagazzino1Click);

    Ricette1 = newMenu("Ricette1", QStringLiteral("Ri&cette"));
    GestionesistemaRizododo1 = addCommand(Ricette1, "GestionesistemaRizododo1",
                                          QStringLiteral("Gestione sistema &Rizododo"),
                                          &TfrmMain::GestionesistemaRizododo1Click);
    GestionesistemaVelmonti1 = addCommand(Ricette1, "GestionesistemaVelmonti1",
                                          QStringLiteral("Gestione sistema &Velmonti"),
                                          &TfrmMain::GestionesistemaVelmonti1Click);
    separator(Ricette1);
    Tabellaricette1 = addCommand(Ricette1, "Tabellaricette1", QStringLiteral("&Tabella ricette"),
                                 &TfrmMain::Tabellaricette1Click);

    Assistenza1 = newMenu("Assistenza1", QStringLiteral("&Assistenza"));
    Informazioni1 = addCommand(Assistenza1, "Informazioni1", QStringLiteral("&Informazioni"),
                               &TfrmMain::Informazioni1Click);
    Controllaaggiornamentiora1 = addCommand(Assistenza1, "Controllaaggiornamentiora1",
                                            QStringLiteral("&Controlla aggiornamenti ora"),
                                            &TfrmMain::Controllaaggiornamentiora1Click);
    ControllaAggAutomat1 = addCommand(Assistenza1, "ControllaAggAutomat1",
                                      QStringLiteral("Controllo aggiornamenti automatico"),
                                      &TfrmMain::ControllaAggAutomat1Click);
    ControllaAggAutomat1->setCheckable(true);
    separator(Assistenza1);
    Teleassistenzaremota1 = addCommand(Assistenza1, "Teleassistenzaremota1", QStringLiteral("Teleassistenza &remota"),
                                       &TfrmMain::Teleassistenzaremota1Click);
    Hotlinetelefonica1 = addCommand(Assistenza1, "Hotlinetelefonica1", QStringLiteral("Hotline (&telefonica)"),
                                    &TfrmMain::Hotlinetelefonica1Click);
    HotlineSkype1 = addCommand(Assistenza1, "HotlineSkype1", QStringLiteral("Hotline (&Skype)"),
                               &TfrmMain::HotlineSkype1Click);
    separator(Assistenza1);
    Amministratore1 = addCommand(Assistenza1, "Amministratore1", QStringLiteral("&Amministratore"),
                                 &TfrmMain::Amministratore1Click);
    Amministratore2 = Assistenza1->addMenu(QStringLiteral("&Amministratore"));
    Amministratore2->setObjectName(QStringLiteral("Amministratore2"));
    Amministratore2->menuAction()->setObjectName(QStringLiteral("Amministratore2"));
    Amministratore2->menuAction()->setVisible(false);
    Categorie1 = addCommand(Amministratore2, "Categorie1", QStringLiteral("&Categorie"), &TfrmMain::Categorie1Click);
    Parametri1 = addCommand(Amministratore2, "Parametri1", QStringLiteral("&Parametri"), &TfrmMain::Parametri1Click);
    Preferenze1 = addCommand(Amministratore2, "Preferenze1", QStringLiteral("Preferenze"), &TfrmMain::Preferenze1Click);

    Impostazioni1 = newMenu("Impostazioni1", QStringLiteral("I&mpostazioni"));
    Tastisceltarapida1 = addCommand(Impostazioni1, "Tastisceltarapida1", QStringLiteral("Tasti &scelta rapida"),
                                    &TfrmMain::Tastisceltarapida1Click);
    Backuparchivi1 = addCommand(Impostazioni1, "Backuparchivi1", QStringLiteral("&Backup archivi"),
                                &TfrmMain::Backuparchivi1Click);
    Parametribilanciamento1 = addCommand(Impostazioni1, "Parametribilanciamento1",
                                         QStringLiteral("&Parametri bilanciamento"),
                                         &TfrmMain::Parametribilanciamento1Click);

    Uscita1 = newMenu("Uscita1", QStringLiteral("&Uscita"));
    Termina1 = addCommand(Uscita1, "Termina1", QStringLiteral("&Termina programma"), &TfrmMain::TerminaExecute);

    // Nothing works until the database is open and the start-up timer has run.
    for (QAction *a : bar->actions())
        a->setEnabled(false);
    for (QAction *a : {Caricomagazzino1, Produzione1, Altriusi1, Anagrafica1, Tabellaingredienti1,
                       Titolazioneingrediente1, Visualizzamagazzino1, GestionesistemaRizododo1,
                       GestionesistemaVelmonti1, Tabellaricette1, Controllaaggiornamentiora1, ControllaAggAutomat1,
                       Teleassistenzaremota1, Hotlinetelefonica1, HotlineSkype1, Amministratore1, Backuparchivi1,
                       Parametribilanciamento1, Informazioni1, Tastisceltarapida1, Termina1})
        a->setEnabled(false);
}

void TfrmMain::AbilitaMenu()
{
    for (QAction *a : menuBar()->actions())
        a->setEnabled(true);
    for (QAction *a : {Caricomagazzino1, Produzione1, Altriusi1, Anagrafica1, Tabellaingredienti1,
                       Titolazioneingrediente1, Visualizzamagazzino1, GestionesistemaRizododo1,
                       GestionesistemaVelmonti1, Tabellaricette1, Controllaaggiornamentiora1, ControllaAggAutomat1,
                       Teleassistenzaremota1, Hotlinetelefonica1, HotlineSkype1, Amministratore1, Backuparchivi1,
                       Parametribilanciamento1, Informazioni1, Tastisceltarapida1, Termina1})
        a->setEnabled(true);
}

void TfrmMain::ShowAdminMenu()
{
    Amministratore1->setVisible(false);
    Amministratore2->menuAction()->setVisible(true);
}

QToolButton *TfrmMain::addToolButton(const char *name, const QString &caption, const QString &hint,
                                     const QString &icon)
{
    auto *b = new QToolButton(Panel1);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setIcon(QIcon(QStringLiteral(":/images/") + icon));
    b->setIconSize(QSize(24, 24));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(62, 52);
    return b;
}

void TfrmMain::buildToolbar()
{
    auto *band = new QFrame;
    band->setFrameShape(QFrame::StyledPanel);
    band->setFrameShadow(QFrame::Raised);
    Panel1 = band;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(ToolbarHeight);

    SpeedButton1 = addToolButton("SpeedButton1", QString(), QStringLiteral("Registrazione operazioni"),
                                 QStringLiteral("operazioni.png"));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    SpeedButton1->setIconSize(QSize(40, 40));
    SpeedButton1->setFixedSize(52, 52);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { runCommand([this] { SpeedButton1Click(); }); });

    SpeedButton2 = addToolButton("SpeedButton2", QStringLiteral("Lista (F3)"), QString(), QStringLiteral("lista.png"));
    SpeedButton2->setVisible(false);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { runCommand([this] { SpeedButton2Click(); }); });

    DBNavigator1 = new ui::DBNavigator(Panel1);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setHints({QStringLiteral("Primo"), QStringLiteral("Precedente"), QStringLiteral("Successivo"),
                            QStringLiteral("Ultimo"), QStringLiteral("Nuovo [Ctrl+Ins]"),
                            QStringLiteral("Cancella [Ctrl+Canc]")});

    sbCommit = addToolButton("sbCommit", QStringLiteral("&Salva"), QStringLiteral("Memorizza le modifiche nel database [F10]"),
                             QStringLiteral("salva.png"));
    sbRollback = addToolButton("sbRollback", QStringLiteral("&Annulla"),
                               QStringLiteral("Annulla le modifiche nel database [F8]"), QStringLiteral("annulla.png"));
    sbRefresh = addToolButton("sbRefresh", QStringLiteral("A&ggiorna"), QStringLiteral("Ricarica i dati dal database [F5]"),
                              QStringLiteral("aggiorna.png"));
    sbPrint = addToolButton("sbPrint", QStringLiteral("S&tampa"), QString(), QStringLiteral("stampa.png"));
    sbGrid = addToolButton("sbGrid", QStringLiteral("Grid"), QString(), QStringLiteral("grid.png"));
    sbExport = addToolButton("sbExport", QStringLiteral("&Export"), QString(), QStringLiteral("export.png"));
    sbExit = addToolButton("sbExit", QStringLiteral("Esci"), QString(), QStringLiteral("esci.png"));
    connect(sbExit, &QToolButton::clicked, this, [this] { runCommand([this] { sbExitClick(); }); });
    connect(sbCommit, &QToolButton::clicked, this, [this] { runCommand([this] { sbCommitClick(); }); });
    connect(sbRollback, &QToolButton::clicked, this, [this] { runCommand([this] { sbRollbackClick(); }); });
    connect(sbRefresh, &QToolButton::clicked, this, [this] { runCommand([this] { sbRefreshClick(); }); });
    connect(sbPrint, &QToolButton::clicked, this, [this] { runCommand([this] { sbPrintClick(); }); });
    connect(sbGrid, &QToolButton::clicked, this, [this] { runCommand([this] { sbGridClick(); }); });
    connect(DBNavigator1, &ui::DBNavigator::buttonClicked, this,
            [this](ui::DBNavigator::Button b) { runCommand([this, b] { NavigatorAction(b); }); });
    // The right button on Print opens the print menu of the active child.
    sbPrint->installEventFilter(this);

    for (QToolButton *b : {sbCommit, sbRollback, sbPrint, sbGrid, sbExport})
        b->setEnabled(false);

    auto *layout = new QHBoxLayout(Panel1);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(SpeedButton1);
    layout->addWidget(SpeedButton2);
    layout->addSpacing(10);
    layout->addWidget(DBNavigator1);
    layout->addSpacing(10);
    for (QToolButton *b : {sbCommit, sbRollback, sbRefresh, sbPrint, sbGrid, sbExport})
        layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(sbExit);
}

void TfrmMain::buildClientArea()
{
    MDIArea = new QMdiArea;
    MDIArea->setObjectName(QStringLiteral("MDIArea"));
    MDIArea->setBackground(QColor(0xf4, 0xef, 0xe6));
    MDIArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MDIArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // Behind the child windows: the product picture, the company line and the certification line.
    background_ = new QWidget(MDIArea->viewport());
    background_->setObjectName(QStringLiteral("pnlSfondo"));
    auto *picture = new QLabel(background_);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/images/main.png")));
    picture->setAlignment(Qt::AlignCenter);

    lblCompanyName = new QLabel(background_);
    lblCompanyName->setObjectName(QStringLiteral("lblCompanyName"));
    lblVatNumber = new QLabel(background_);
    lblVatNumber->setObjectName(QStringLiteral("lblVatNumber"));
    lblVatNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCertificazione = new QLabel(background_);
    lblCertificazione->setObjectName(QStringLiteral("lblCertificazione"));
    lblCertificazione->setAlignment(Qt::AlignCenter);
    for (QLabel *l : {lblCompanyName, lblVatNumber, lblCertificazione}) {
        QFont f = l->font();
        f.setPointSize(11);
        f.setBold(true);
        l->setFont(f);
        l->setStyleSheet(QStringLiteral("color: #5a3a22;"));
    }

    // The company line spans most of the area: a long name wraps rather than run into the VAT number.
    lblCompanyName->setWordWrap(true);
    lblVatNumber->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto *companyLine = new QHBoxLayout;
    companyLine->setSpacing(24);
    companyLine->addWidget(lblCompanyName, 1);
    companyLine->addWidget(lblVatNumber);
    auto *column = new QVBoxLayout;
    column->addWidget(picture);
    column->addLayout(companyLine);
    column->addWidget(lblCertificazione);
    auto *columnHolder = new QWidget(background_);
    columnHolder->setLayout(column);
    columnHolder->setFixedWidth(880);
    auto *outer = new QVBoxLayout(background_);
    outer->addStretch();
    outer->addWidget(columnHolder, 0, Qt::AlignHCenter);
    outer->addStretch();
    background_->lower();
    MDIArea->viewport()->installEventFilter(this);

    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("ClientArea"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(MDIArea, 1);
    setCentralWidget(central);
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (MDIArea && watched == MDIArea->viewport()) {
            background_->setGeometry(MDIArea->viewport()->rect());
            background_->lower();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == sbPrint && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            runCommand([this, event] { ShowPrintMenu(static_cast<QMouseEvent *>(event)->globalPosition().toPoint()); });
            return true;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *w = qobject_cast<QWidget *>(watched);
        if (key->key() != Qt::Key_F10 || key->isAutoRepeat() || !w || w->window() != this)
            break;
        // A child window that saved on the key's press has consumed it before it came here: its
        // release must not save a second time.
        if (event->type() == QEvent::KeyPress) {
            f10Pressed_ = true;
            break;
        }
        if (!f10Pressed_)
            break;
        f10Pressed_ = false;
        if (sbCommit->isEnabled()) {
            runCommand([this] { sbCommitClick(); });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Caption and company data -------------------------------------------------------------------

void TfrmMain::RefreshCaption()
{
    QString caption = QStringLiteral("Brivola - Versione ") + ProgramVersion;
    if (!AppConfig().CompanyName.isEmpty())
        caption += QStringLiteral(" - ") + AppConfig().CompanyName;
    setWindowTitle(caption);
}

void TfrmMain::ShowCompanyData(const QString &company, const QString &vat, const QString &codiceCert)
{
    lblCompanyName->setText(company);
    lblVatNumber->setText(vat);
    lblCertificazione->setText(QStringLiteral("Certificazione nr. ") + codiceCert);
}

// --- Start-up and shutdown ----------------------------------------------------------------------

void TfrmMain::Timer1Timer()
{
    Timer1->stop();
    if (AppConfig().ControlloAgg)
        CheckUpdatesSilently();
    AbilitaMenu();
}

bool TfrmMain::CanClose()
{
    if (!sbCommit->isEnabled() || InsertDaLista)
        return true;
    ui::prompter().info(PendingChangesMessage);
    return false;
}

void TfrmMain::TerminaExecute()
{
    if (inTermina_ || terminated_)
        return;
    inTermina_ = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{inTermina_};

    if (!CanClose())
        return;
    while (!children().isEmpty()) {
        if (!CloseActiveMDI())
            return;   // a child refused: the program goes on with the windows left
    }
    if (AppConfig().AutoBackup) {
        try {
            RunAutoBackup();
        } catch (const db::Abort &) {
        } catch (const db::DbError &e) {
            ui::prompter().error(e.text());
        } catch (const std::exception &e) {
            ui::prompter().error(QString::fromUtf8(e.what()));
        }
    }
    terminated_ = true;
    if (OnTerminate)
        OnTerminate();
}

void TfrmMain::RunAutoBackup()
{
    const std::optional<QString> drive = FindBackupDrive();
    AppConfig().BackupDrive = drive.value_or(QString());
    if (!drive)
        return;
    const QString brivola = *drive + QStringLiteral("/Brivola");
    if (!QDir().mkpath(brivola)) {
        ui::prompter().info(QStringLiteral("ATTENZIONE! Errore nella creazione della cartella di Brivola!"));
        return;
    }
    // A database file copied while the engine still has it open can be inconsistent: detach first.
    // A failure to close skips the backup rather than overwrite a good copy with a doubtful one.
    if (dmGenerale) {
        if (dmGenerale->isDatabaseOpen())
            dmGenerale->CloseDatabase();
        dmGenerale->CloseDB0();
    }
    TfrmBackup::AutoBackup(brivola + QStringLiteral("/autobackup"));
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (terminated_) {
        event->accept();
        return;
    }
    event->ignore();
    runCommand([this] { TerminaExecute(); });
}

void TfrmMain::runCommand(const std::function<void()> &command)
{
    try {
        command();
    } catch (const db::Abort &) {
    } catch (const db::DbError &e) {
        ui::prompter().error(e.text());
    } catch (const std::exception &e) {
        ui::prompter().error(QString::fromUtf8(e.what()));
    }
}

// --- Child windows ------------------------------------------------------------------------------

namespace {

// A child window coming forward gives the focus back to the control that had it, or else to its
// first control in tab order; a window without controls takes it itself. The target is chosen before
// the sub-window is activated, which moves the focus on its own.
QPointer<QWidget> focusTarget(QWidget *child)
{
    auto *mdiChild = qobject_cast<TfrmMDIChild *>(child);
    QWidget *last = mdiChild ? mdiChild->lastFocused() : child->focusWidget();
    if (last && last != child && child->isAncestorOf(last) && last->isVisible() && last->isEnabled())
        return last;
    for (QWidget *w = child->nextInFocusChain(); w && w != child; w = w->nextInFocusChain()) {
        if (child->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return child;
}

void giveFocus(const QPointer<QWidget> &target)
{
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

} // namespace

QList<QMdiSubWindow *> TfrmMain::children() const { return MDIArea->subWindowList(QMdiArea::CreationOrder); }

QString TfrmMain::childName(const QMdiSubWindow *sub)
{
    return sub->widget() ? sub->widget()->objectName() : sub->objectName();
}

QWidget *TfrmMain::GetMDIForm(const QString &name) const
{
    for (QMdiSubWindow *sub : children()) {
        if (childName(sub).compare(name, Qt::CaseInsensitive) == 0)
            return sub->widget() ? sub->widget() : sub;
    }
    return nullptr;
}

bool TfrmMain::ActivateMDI(const QString &name)
{
    if (!databaseOpen() || !CanClose())
        db::abort();
    bool found = false;
    for (QMdiSubWindow *sub : children()) {
        if (childName(sub).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        found = true;
        sub->show();
        QWidget *child = sub->widget() ? sub->widget() : sub;
        const QPointer<QWidget> target = focusTarget(child);
        {
            // The activation handler runs once, below, even when the child was active already.
            activating_ = true;
            auto reset = qScopeGuard([this] { activating_ = false; });
            MDIArea->setActiveSubWindow(sub);
        }
        giveFocus(target);
        emit childActivated(child);
    }
    return found;
}

bool TfrmMain::CloseActiveMDI()
{
    const QList<QMdiSubWindow *> list = children();
    if (list.isEmpty())
        return true;
    QPointer<QMdiSubWindow> active = MDIArea->currentSubWindow();
    if (active) {
        // close() asks the child's own close query first.
        if (!active->close())
            return false;
        delete active.data();
    } else {
        delete list.first();
    }
    SetActiveMDI();
    return true;
}

bool TfrmMain::CloseMDI(const QString &name)
{
    const QList<QMdiSubWindow *> list = children();
    bool closed = false;
    for (auto it = list.crbegin(); it != list.crend(); ++it) {
        if (childName(*it) == name) {
            delete *it;
            closed = true;
        }
    }
    SetActiveMDI();
    return closed;
}

void TfrmMain::SetActiveMDI()
{
    QMdiSubWindow *sub = MDIArea->currentSubWindow();
    if (!sub && !children().isEmpty())
        sub = children().first();
    if (sub) {
        QWidget *child = sub->widget() ? sub->widget() : sub;
        const QPointer<QWidget> target = focusTarget(child);
        MDIArea->setActiveSubWindow(sub);
        giveFocus(target);
        // The child left in front is bound again when the closed one was the bound one.
        if (!boundChild_)
            activateChild(child, false);
    } else {
        activateWindow();
    }
}

void TfrmMain::HideTitlebar(QMdiSubWindow *sub)
{
    if (!sub)
        return;
    sub->setWindowFlags(Qt::SubWindow | Qt::FramelessWindowHint);
    if (QWidget *child = sub->widget())
        sub->resize(child->size());
}

void TfrmMain::activateChild(QWidget *child, bool force)
{
    auto *mdiChild = qobject_cast<TfrmMDIChild *>(child);
    if (!mdiChild)
        return;
    if (!force && lastActivated_ == child && boundChild_ == mdiChild)
        return;
    lastActivated_ = child;
    runCommand([mdiChild] { mdiChild->FormActivate(); });
}

TfrmMDIChild *TfrmMain::ActiveChild() const
{
    QMdiSubWindow *sub = MDIArea->currentSubWindow();
    if (!sub && !children().isEmpty())
        sub = children().first();
    return sub ? qobject_cast<TfrmMDIChild *>(sub->widget()) : nullptr;
}

void TfrmMain::registerChildWindow(const QString &name, ChildFactory factory)
{
    factories_.insert(name.toLower(), std::move(factory));
}

bool TfrmMain::isChildWindowRegistered(const QString &name) const { return factories_.contains(name.toLower()); }

bool TfrmMain::databaseOpen() const { return dmGenerale && dmGenerale->isDatabaseOpen(); }

void TfrmMain::OpenChild(const QString &name)
{
    if (ActivateMDI(name))
        return;
    const auto factory = factories_.constFind(name.toLower());
    if (factory == factories_.cend() || !*factory) {
        // A window not written yet.
        ShowWorking();
        return;
    }
    TfrmMDIChild *child = (*factory)();
    if (!child)
        return;
    // A child window shows itself at once; becoming the active child binds it to the toolbar.
    QMdiSubWindow *sub = child->subWindow();
    if (sub) {
        sub->show();
        MDIArea->setActiveSubWindow(sub);
    } else {
        child->show();
    }
    giveFocus(focusTarget(child));
    if (boundChild_ != child)
        activateChild(child, true);
}

void TfrmMain::RintracciaCarico()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmRintraccia"));
}

void TfrmMain::RintracciaScarico()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmRintracciaP"));
}

void TfrmMain::ShowWorking()
{
    if (!frmWorking)
        new TfrmWorking(this);
    ui::prompter().exec(frmWorking);
}

// --- Commands -----------------------------------------------------------------------------------

void TfrmMain::Caricomagazzino1Click()
{
    if (!CanClose())
        return;
    MovementKind = QStringLiteral("C");
    OpenChild(QStringLiteral("frmCarico"));
}

void TfrmMain::Produzione1Click()
{
    if (!CanClose())
        return;
    MovementKind = QStringLiteral("P");
    OpenChild(QStringLiteral("frmCarico"));
}

void TfrmMain::Altriusi1Click()
{
    if (!CanClose())
        return;
    MovementKind = QStringLiteral("S");
    OpenChild(QStringLiteral("frmCarico"));
}

void TfrmMain::SpeedButton1Click()
{
    if (!CanClose())
        return;
    if (MovementKind.isEmpty())
        MovementKind = QStringLiteral("C");
    OpenChild(QStringLiteral("frmCarico"));
}

void TfrmMain::SpeedButton2Click()
{
    TfrmMDIChild *child = ActiveChild();
    if (!child)
        return;
    QWidget *target = child->focusWidget() ? child->focusWidget() : child;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void TfrmMain::Riepiloghi1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmDoc"));
}

void TfrmMain::Anagrafica1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmFornitori"));
}

void TfrmMain::TabellaFornitori1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmAnagraf"));
}

void TfrmMain::Tabellaingredienti1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmArticoG"));
}

void TfrmMain::Titolazioneingrediente1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmArtico"));
}

void TfrmMain::Visualizzamagazzino1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmMagazzino"));
}

void TfrmMain::GestionesistemaRizododo1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmRicette"));
}

void TfrmMain::GestionesistemaVelmonti1Click() { ShowWorking(); }

void TfrmMain::Tabellaricette1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmRicetteG"));
}

void TfrmMain::Informazioni1Click()
{
    // The about box.
    ShowWorking();
}

void TfrmMain::Controllaaggiornamentiora1Click()
{
    if (!databaseOpen())
        db::abort();
    // The interactive update check.
    ShowWorking();
}

void TfrmMain::ControllaAggAutomat1Click()
{
    AppConfig().ControlloAgg = ControllaAggAutomat1->isChecked();
    const QString path = BrivolaIniPath();
    // Without a Brivola.ini the choice lasts until the program ends: the file is never created.
    if (!QFileInfo::exists(path))
        return;
    IniFile ini;
    if (!ini.load(path)) {
        ui::prompter().error(QStringLiteral("Impossibile leggere il file \"%1\": %2").arg(path, ini.errorString()));
        return;
    }
    ini.setValue(QStringLiteral("ControlloAgg"), AppConfig().ControlloAgg ? QStringLiteral("1") : QStringLiteral("0"));
    if (!ini.save(path))
        ui::prompter().error(QStringLiteral("Impossibile salvare il file \"%1\": %2").arg(path, ini.errorString()));
}

void TfrmMain::Teleassistenzaremota1Click() { ShowWorking(); }

void TfrmMain::Hotlinetelefonica1Click() { ShowWorking(); }

void TfrmMain::HotlineSkype1Click() { ShowWorking(); }

void TfrmMain::Amministratore1Click()
{
    if (!CanClose())
        return;
    // The right administrator password unlocks the administrator submenu until the program ends.
    if (AskAdministratorPassword())
        ShowAdminMenu();
}

void TfrmMain::Categorie1Click()
{
    if (!CanClose())
        return;
    CategorieAdmin = true;
    OpenChild(QStringLiteral("frmCategorie"));
}

void TfrmMain::Parametri1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmDomini"));
}

void TfrmMain::Preferenze1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmPreferenze"));
}

void TfrmMain::Tastisceltarapida1Click()
{
    // The shortcut editor on the main menu (ShortCut.ini, section "Main").
    ShowWorking();
}

void TfrmMain::Backuparchivi1Click()
{
    const std::optional<QString> drive = FindBackupDrive();
    AppConfig().BackupDrive = drive.value_or(QString());
    if (!drive) {
        ui::prompter().info(QStringLiteral("Inserire il disco di backup BRIVOLA prima di continuare!"));
        return;
    }
    if (!CanClose())
        return;
    if (!frmBackup)
        new TfrmBackup(this);
    ui::prompter().exec(frmBackup);
}

void TfrmMain::Parametribilanciamento1Click()
{
    if (CanClose())
        OpenChild(QStringLiteral("frmCategorie"));
}

void TfrmMain::sbExitClick()
{
    if (!CanClose())
        return;
    if (!children().isEmpty())
        CloseActiveMDI();
    else
        TerminaExecute();
}

// --- Current dataset and navigator --------------------------------------------------------------

TfrmMDIChild *TfrmMain::BoundChild() const { return boundChild_; }

void TfrmMain::setBoundChild(TfrmMDIChild *child) { boundChild_ = child; }

db::DataSet *TfrmMain::dsCorrente() const { return dsCorrente_; }

void TfrmMain::setDsCorrente(db::DataSet *ds)
{
    for (const QMetaObject::Connection &c : navigatorConnections_)
        disconnect(c);
    navigatorConnections_.clear();
    dsCorrente_ = ds;
    if (ds) {
        const auto update = [this] { updateNavigator(); };
        navigatorConnections_ << connect(ds, &db::DataSet::stateChanged, this, update)
                              << connect(ds, &db::DataSet::currentChanged, this, update)
                              << connect(ds, &db::DataSet::contentReset, this, update)
                              << connect(ds, &db::DataSet::recordRemoved, this, update)
                              << connect(ds, &db::DataSet::recordInserted, this, update)
                              << connect(ds, &QObject::destroyed, this, update);
    }
    updateNavigator();
}

void TfrmMain::updateNavigator()
{
    db::DataSet *ds = dsCorrente_;
    if (!ds || !ds->active()) {
        DBNavigator1->setButtonsEnabled(false);
        return;
    }
    const int count = ds->recordCount();
    const int pos = ds->recNo();
    const bool writable = !ds->InsertSQL.isEmpty() || !ds->ModifySQL.isEmpty() || !ds->DeleteSQL.isEmpty();
    DBNavigator1->button(ui::DBNavigator::First)->setEnabled(pos > 0);
    DBNavigator1->button(ui::DBNavigator::Prior)->setEnabled(pos > 0);
    DBNavigator1->button(ui::DBNavigator::Next)->setEnabled(pos >= 0 && pos < count - 1);
    DBNavigator1->button(ui::DBNavigator::Last)->setEnabled(pos >= 0 && pos < count - 1);
    DBNavigator1->button(ui::DBNavigator::Insert)->setEnabled(writable);
    DBNavigator1->button(ui::DBNavigator::Delete)->setEnabled(writable && count > 0);
}

bool TfrmMain::NavigatorAction(ui::DBNavigator::Button button)
{
    db::DataSet *ds = dsCorrente_;
    if (!ds)
        return false;
    if (!ds->active())
        return true;   // nothing to move in, nothing refused
    // Nobody leaves, adds or deletes a record while changes are pending (the navigator has no Post
    // or Cancel button, which would always be allowed).
    if (!CanClose())
        return false;
    if (button == ui::DBNavigator::Insert && ds->state() == db::DataSetState::Insert && !ds->modified())
        return false;   // no second empty record
    if (button == ui::DBNavigator::Delete && !ds->BeforeDelete &&
        !ui::prompter().ask(QStringLiteral("Confermi la cancellazione?"), QStringLiteral("Conferma cancellazione"),
                            ui::Icon::Warning, false))
        return false;

    switch (button) {
    case ui::DBNavigator::First:
        ds->first();
        break;
    case ui::DBNavigator::Prior:
        ds->prior();
        break;
    case ui::DBNavigator::Next:
        ds->next();
        break;
    case ui::DBNavigator::Last:
        ds->last();
        break;
    case ui::DBNavigator::Insert:
        ds->insert();
        break;
    case ui::DBNavigator::Delete:
        ds->remove();
        // A deletion is committed at once.
        if (sbCommit->isEnabled())
            sbCommitClick();
        break;
    }
    return true;
}

// --- Save, Cancel, Refresh ----------------------------------------------------------------------

namespace {

// Posts ds when it is being edited; false when the post failed. A rule's refusal has shown its own
// message; the database's refusal is shown here, once, and the record stays in edit.
bool postEdits(db::DataSet &ds)
{
    if (!ds.isEditing())
        return true;
    try {
        ds.post();
        return true;
    } catch (const db::Abort &) {
    } catch (const db::DbError &e) {
        ui::prompter().error(e.text());
    }
    return false;
}

} // namespace

void TfrmMain::sbCommitClick()
{
    TInsertDaListParams &insert = InsertParams();
    if (InsertDaLista) {
        // The record added for a lookup list: its code goes back to the list, its window closes.
        // Nothing is committed here: the whole work is saved with the window that asked for it.
        db::DataSet *ds = insert.DataSet;
        if (ds && !postEdits(*ds))
            return;
        if (ds && ds->active() && !ds->isEmpty()) {
            if (db::Field *f = ds->findField(insert.Field))
                insert.Value = f->asString();
        }
        CloseActiveMDI();
        InsertDaLista = false;
        const auto onSaved = std::exchange(insert.OnSaved, nullptr);
        insert.TargetField = nullptr;
        insert.TargetCodeField.clear();
        insert.DataSet = nullptr;
        if (onSaved && !insert.Value.isEmpty())
            onSaved(insert.Value);
        return;
    }
    if (dmGenerale && dmGenerale->PendingChanges) {
        for (db::DataSet *ds : dmGenerale->WorkingDataSets()) {
            if (!postEdits(*ds))
                return;   // nothing committed; Save and Cancel stay available
        }
        dmGenerale->ta1.commitRetaining();
        dmGenerale->PendingChanges = false;
    }
    sbCommit->setEnabled(false);
    sbRollback->setEnabled(false);
}

void TfrmMain::sbRollbackClick()
{
    TInsertDaListParams &insert = InsertParams();
    if (InsertDaLista) {
        // The record added for a lookup list is dropped with its window; the rest stays pending.
        if (insert.DataSet && insert.DataSet->isEditing())
            insert.DataSet->cancel();
        insert.Value.clear();
        CloseActiveMDI();
        InsertDaLista = false;
        insert.OnSaved = nullptr;
        insert.TargetField = nullptr;
        insert.TargetCodeField.clear();
        insert.DataSet = nullptr;
        return;
    }
    if (dmGenerale && dmGenerale->PendingChanges) {
        for (db::DataSet *ds : dmGenerale->WorkingDataSets()) {
            if (ds->isEditing())
                ds->cancel();
        }
        // Whatever the rollback did, the datasets show what the database now holds.
        std::optional<db::DbError> failure;
        try {
            dmGenerale->ta1.rollbackRetaining();
        } catch (const db::DbError &e) {
            failure = e;
        }
        RefreshDataSets();
        if (failure)
            throw *failure;
        dmGenerale->PendingChanges = false;
    }
    sbCommit->setEnabled(false);
    sbRollback->setEnabled(false);
}

void TfrmMain::sbRefreshClick()
{
    if (CanClose())
        RefreshDataSets();
}

void TfrmMain::RefreshDataSets()
{
    if (!dmGenerale)
        return;
    for (db::DataSet *ds : dmGenerale->WorkingDataSets()) {
        const QString name = ds->objectName();
        if (name == QLatin1String("qGenerica") || name == QLatin1String("qLista") || !ds->active())
            continue;
        try {
            ds->refresh();   // back to the same position when there are records
        } catch (const db::Abort &) {
        } catch (const db::DbError &) {
            // It stays closed.
        }
    }
}

// --- Print, Grid --------------------------------------------------------------------------------

void TfrmMain::buildPrintMenus()
{
    pmStampa = new QMenu(this);
    pmStampa->setObjectName(QStringLiteral("pmStampa"));
    pmStampaAnteprima = pmStampa->addAction(QStringLiteral("&Anteprima"));
    pmStampaStampa = pmStampa->addAction(QStringLiteral("&Stampa"));
    connect(pmStampaAnteprima, &QAction::triggered, this, [this] { PrintFromMenu(true, false); });
    connect(pmStampaStampa, &QAction::triggered, this, [this] { PrintFromMenu(false, false); });

    pmStampaDoc = new QMenu(this);
    pmStampaDoc->setObjectName(QStringLiteral("pmStampaDoc"));
    pmStampaDocAnteprima = pmStampaDoc->addMenu(QStringLiteral("&Anteprima"));
    pmStampaDocStampa = pmStampaDoc->addMenu(QStringLiteral("&Stampa"));
    pmAnteprimaRegistro = pmStampaDocAnteprima->addAction(QStringLiteral("&Registro"));
    pmAnteprimaTotali = pmStampaDocAnteprima->addAction(QStringLiteral("&Totali"));
    pmStampaRegistro = pmStampaDocStampa->addAction(QStringLiteral("&Registro"));
    pmStampaTotali = pmStampaDocStampa->addAction(QStringLiteral("&Totali"));
    connect(pmAnteprimaRegistro, &QAction::triggered, this, [this] { PrintFromMenu(true, false); });
    connect(pmAnteprimaTotali, &QAction::triggered, this, [this] { PrintFromMenu(true, true); });
    connect(pmStampaRegistro, &QAction::triggered, this, [this] { PrintFromMenu(false, false); });
    connect(pmStampaTotali, &QAction::triggered, this, [this] { PrintFromMenu(false, true); });
}

QMenu *TfrmMain::ShowPrintMenu(const QPoint &globalPos)
{
    TfrmMDIChild *child = ActiveChild();
    if (!child)
        return nullptr;
    // Recognised by their names, compared with case.
    const QString name = child->objectName();
    QMenu *menu = nullptr;
    if (name == QLatin1String("frmDoc"))
        menu = SummaryKind == QLatin1String("T") ? pmStampa : pmStampaDoc;
    else if (name == QLatin1String("frmArticoG") || name == QLatin1String("frmRicetteG") ||
             name == QLatin1String("frmMagazzino"))
        menu = pmStampa;
    if (!menu)
        return nullptr;
    printChild_ = child;
    menu->popup(globalPos);
    return menu;
}

void TfrmMain::PrintFromMenu(bool preview, bool totals)
{
    TfrmMDIChild *child = printChild_;
    if (!child)
        return;
    runCommand([child, preview, totals] {
        // The operations summary prints its register (or its totals); the others their list.
        if (child->objectName() == QLatin1String("frmDoc"))
            child->Anteprima_stampa(preview, totals, true);
        else
            child->Anteprima_stampa(preview, true);
    });
}

void TfrmMain::sbPrintClick()
{
    if (TfrmMDIChild *child = ActiveChild(); child && child->PrintProc)
        child->PrintProc();
}

void TfrmMain::sbGridClick()
{
    if (!CanClose())
        return;
    if (TfrmMDIChild *child = ActiveChild(); child && child->GridProc)
        child->GridProc();
}
