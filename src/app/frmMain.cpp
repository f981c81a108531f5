#include "frmMain.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "Volumes.h"
#include "data/dmGenerale.h"
#include "db/DbError.h"
#include "frmBackup.h"
#include "frmWait.h"
#include "frmWorking.h"
#include "ui/DBNavigator.h"
#include "ui/Prompter.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

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
    if (MDIArea && watched == MDIArea->viewport() && event->type() == QEvent::Resize) {
        background_->setGeometry(MDIArea->viewport()->rect());
        background_->lower();
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
        MDIArea->setActiveSubWindow(sub);
        QWidget *child = sub->widget() ? sub->widget() : sub;
        child->setFocus();
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
        MDIArea->setActiveSubWindow(sub);
        (sub->widget() ? sub->widget() : sub)->setFocus();
    } else {
        activateWindow();
    }
}

bool TfrmMain::databaseOpen() const { return dmGenerale && dmGenerale->isDatabaseOpen(); }

void TfrmMain::OpenChild(const QString &name)
{
    if (ActivateMDI(name))
        return;
    // The windows of the program are added here one by one; until then the box says so.
    ShowWorking();
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
    // The administrator password dialog, which calls ShowAdminMenu when the password is right.
    ShowWorking();
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
