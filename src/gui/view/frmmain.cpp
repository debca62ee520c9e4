#include "view/frmmain.h"

#include "stats/frmstat.h"
#include "store/resultskeeper.h"
#include "store/resultsstore.h"
#include "view/controls/placementcontrols.h"
#include "view/controls/switchpanel.h"
#include "view/controls/textbutton.h"
#include "view/effects/effects.h"
#include "view/effects/hitmarkers.h"
#include "view/effects/resultswords.h"
#include "view/fields/fieldview.h"
#include "view/keys/windowkeys.h"
#include "view/look.h"
#include "view/modalover.h"
#include "view/prompter.h"
#include "view/windowlosswatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>

frmMain::frmMain(SoundService &sound, RandomSource &random, Prompter &prompter, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_prompter(prompter)
    , m_game(random)
    , m_store(std::make_unique<ResultsStore>())
    , m_keeper(std::make_unique<ResultsKeeper>(*m_store, this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Морской бой"));
    setFixedSize(800, 600);
    setMouseTracking(true);
    Look::dressWindow(this);

    // Built in this order, so later parts lie above earlier ones where they meet.
    m_fields = new FieldView(this, m_game.board());
    m_switches = new SwitchPanel(this);
    m_placement = new PlacementControls(this);
    m_markers = new HitMarkers(this, random);
    m_effects = new Effects(this, m_game, sound, prompter, *m_keeper, *m_markers);
    connect(m_fields, &FieldView::pressed, this, &frmMain::pic_MouseDown);
    connect(m_markers, &HitMarkers::pressed, this, &frmMain::pic_MouseDown);
    connect(m_fields, &FieldView::moved, this, &frmMain::pic_MouseMove);
    connect(m_markers, &HitMarkers::moved, this, &frmMain::pic_MouseMove);
    connect(m_placement, &PlacementControls::setAutoClicked, this, &frmMain::lblSetAuto_Click);
    connect(m_placement, &PlacementControls::setByHandClicked, this, &frmMain::lblSetY_Click);
    connect(m_placement, &PlacementControls::agreeClicked, this, &frmMain::lblAgree_Click);
    connect(m_placement, &PlacementControls::shipClicked, this, &frmMain::rb_Click);
    connect(m_placement, &PlacementControls::levelClicked, this, &frmMain::rbL_Click);
    connect(m_switches, &SwitchPanel::gridClicked, this, &frmMain::chGrid_Click);
    connect(m_switches, &SwitchPanel::musicClicked, this, &frmMain::chMusic_Click);
    connect(m_switches, &SwitchPanel::backClicked, this, &frmMain::chBack_Click);
    connect(m_switches, &SwitchPanel::statClicked, this, &frmMain::lblStat_Click);
    connect(m_switches, &SwitchPanel::newGameClicked, this, &frmMain::cmdNewGame_Click);
    connect(m_effects, &Effects::computerToMove, this, &frmMain::tmrI_Timer);
    // The screen shows the new state first; then the effects follow the events.
    connect(&m_game, &Game::changed, this, &frmMain::mirror);
    connect(&m_game, &Game::shotResolved, m_effects, &Effects::showShot);
    connect(&m_game, &Game::turnPassed, m_effects, &Effects::timeComputersMoves);
    connect(&m_game, &Game::gameEnded, m_effects, &Effects::finishGame);
    // Moves over any control are that control's own; only the bare window clears the
    // preview and the hover frames. Every button the player clicks, shown or not, the keys
    // reach too.
    QList<QWidget *> controls;
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        child->setAttribute(Qt::WA_NoMousePropagation);
        if (qobject_cast<QAbstractButton *>(child) || qobject_cast<TextButton *>(child))
            controls << child;
    }

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    WindowKeys::attach(*this, *m_fields, controls);
    connect(new WindowLossWatch(*this), &WindowLossWatch::windowDestroyed, this,
            &frmMain::rebuildLostWindow);
}

frmMain::~frmMain()
{
    delete m_fields; // it watches the game's board, which goes before the children
}

void frmMain::mirror()
{
    m_placement->showPhase(m_game);
    m_switches->showGame(m_game);
}

void frmMain::showAuthorshipNotice(Prompter &prompter, QWidget *parent)
{
    prompter.inform(parent,
                    tr("Морской бой\nВерсия %1\n\nИгра для одного игрока против "
                       "компьютера.\n© 2026 Разработчики игры «Морской бой»")
                        .arg(QCoreApplication::applicationVersion()),
                    tr("Морской бой"));
}

void frmMain::Form_Load(Notice notice)
{
    if (notice == Notice::Show)
        showAuthorshipNotice(m_prompter, this);
    SetArray();
    // Results moved to the data folder: the player hears it once, over the window
    // shown after the authorship notice.
    if (const QString moved = ResultsWords::takeNotice(*m_store); !moved.isEmpty())
        QTimer::singleShot(0, this, [this, moved] { m_prompter.inform(this, moved); });
    m_effects->startMusic();
    m_markers->setBackColor(Look::Sea);
    m_game.start();
    mirror();
}

void frmMain::SetArray()
{
    // The cells follow the board since the fields were built. A store that cannot be
    // opened only keeps results from being saved.
    m_store->open();
}

void frmMain::pic_MouseMove(int index)
{
    if (index > 99 && m_game.isBattle())
        m_aim.showOn(*this);
    m_game.pointerOverCell(index);
}

void frmMain::Form_MouseMove()
{
    m_aim.hideFrom(*this);
    m_placement->clearHoverFrames();
    m_game.pointerOverBareWindow();
}

void frmMain::Form_KeyDown(int key)
{
    if (key == Qt::Key_Control)
        m_game.setCtrl(true);
    else if (key == Qt::Key_Escape)
        askToQuit();
}

void frmMain::askToQuit()
{
    // One question at a time: the window may be lost or asked to close again while it is
    // open, and the one open question answers for all of them.
    if (m_askingToQuit)
        return;
    const QScopedValueRollback asking(m_askingToQuit, true);
    if (m_prompter.ask(this, tr("Выход"), tr("   Вы действительно хотите Выйти ?"))) {
        m_effects->stopHitSound();
        hide();
        QCoreApplication::exit(0);
    }
}

void frmMain::rebuildLostWindow()
{
    // Another program destroyed the native window: let Qt drop it, show a new one in
    // its place, and treat the loss as a request to close.
    const QPoint position = pos();
    destroy(true, false);
    // Qt still holds the window for shown; hidden first, showing it builds a new one.
    hide();
    move(position);
    show();
    // A box still open from before the loss would lie under the new window.
    if (QWidget *open = QApplication::activeModalWidget()) {
        open->raise();
        open->activateWindow();
    }
    askToQuit();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The window stays until the player says Yes; then the program ends as after Esc.
    event->ignore();
    askToQuit();
}

void frmMain::lblStat_Click()
{
    frmStat stat(this, m_store->listedFile());
    ModalOver::exec(stat, this);
}

void frmMain::cmdNewGame_Click()
{
    if (!m_prompter.ask(this, tr("Новая Игра"),
                        QString(15, QLatin1Char(' ')) + tr("Начать заново ?")))
        return;
    m_game.newGame();
    m_markers->clear();
}

void frmMain::chGrid_Click(bool on)
{
    m_fields->showCoordinates(on);
}

void frmMain::chBack_Click(bool on)
{
    m_fields->showFrames(on);
}

void frmMain::chMusic_Click(bool on)
{
    m_effects->PlayMuz(on);
}
