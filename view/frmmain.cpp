#include "view/frmmain.h"

#include "results/resultskeeper.h"
#include "results/resultsstore.h"
#include "view/accessiblenames.h"
#include "view/boombox.h"
#include "view/cellview.h"
#include "view/palette.h"
#include "view/pictureholder.h"
#include "view/scorepanel.h"
#include "view/storedpicture.h"
#include "view/textbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace {
// The picker's members stand on screen in this order of members, top to bottom:
// members 5 and 8 have each other's places.
constexpr int pickerTops[10] = {408, 424, 440, 456, 472, 504, 536, 552, 488, 520};

void paintText(QWidget *widget, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
}

QTimer *makeTimer(const QString &name, int interval, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}
} // namespace

frmMain::frmMain(SoundService &sound, RandomSource &random, Prompter &prompter, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_sound(sound)
    , m_random(random)
    , m_prompter(prompter)
    , m_game(*this, random)
    , m_store(std::make_unique<ResultsStore>())
    , m_keeper(std::make_unique<ResultsKeeper>(*m_store))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Морской бой"));
    setFixedSize(800, 600);
    setMouseTracking(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Look::Sea);
    palette.setColor(QPalette::WindowText, Look::WindowText);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(Look::serif(16, true, true));

    buildFields();
    buildBottomRow();
    buildPlacementControls();
    buildHiddenControls();
    // Moves over any control are that control's own; only the bare window clears the
    // preview and the hover frames.
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
    m_game.board().setObserver(this);
}

frmMain::~frmMain()
{
    m_game.board().setObserver(nullptr);
    qApp->removeEventFilter(this);
}

void frmMain::buildFields()
{
    imgBack1
        = new StoredPicture(QStringLiteral("imgBack1"), QStringLiteral(":/fieldframe.png"), this);
    imgBack1->setGeometry(32, 35, 354, 351);
    imgBack2
        = new StoredPicture(QStringLiteral("imgBack2"), QStringLiteral(":/fieldframe.png"), this);
    imgBack2->setGeometry(440, 35, 354, 351);
    imgBack1->setAccessibleName(QStringLiteral("Рамка вашего поля"));
    imgBack2->setAccessibleName(QStringLiteral("Рамка поля противника"));

    for (int i = 0; i < Board::CellCount; ++i) {
        auto *cell = new CellView(i, this);
        const int j = i % 100;
        const int left = i < 100 ? 48 : 456;
        cell->setGeometry(left + 32 * (j % 10), 48 + 32 * (j / 10), 33, 33);
        cell->setAccessibleName(AccessibleNames::cell(i, CellState::Empty));
        cell->setAccessibleDescription(AccessibleNames::field(i));
        connect(cell, &CellView::pressed, this, &frmMain::pic_MouseDown);
        connect(cell, &CellView::moved, this, &frmMain::pic_MouseMove);
        pic[i] = cell;
    }

    const QFont labelFont = Look::serif(27, true, true);
    for (int k = 0; k < 40; ++k) {
        QString caption;
        QRect geometry;
        if (k < 20) {
            const int row = k % 10;
            const bool ten = row == 9;
            caption = QString::number(row + 1);
            const int x = k < 10 ? (ten ? 0 : 8) : (ten ? 408 : 416);
            const int y = (k < 10 ? 48 : 32) + 32 * row;
            geometry = QRect(x, y, ten ? 28 : 14, 31);
        } else {
            const int column = k % 10;
            caption = AccessibleNames::columnLetter(column + 1);
            // Centred over its column, so wide letters such as "Ж" keep clear of their
            // neighbours.
            geometry = QRect((k < 30 ? 48 : 456) + 32 * column, 0, 32, 31);
        }
        auto *label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        label->setFont(labelFont);
        label->setAlignment(k < 20 ? Qt::AlignLeft | Qt::AlignTop
                                   : Qt::AlignHCenter | Qt::AlignTop);
        paintText(label, Look::LabelOrange);
        label->setGeometry(geometry);
        Label1[k] = label;
    }
}

void frmMain::buildBottomRow()
{
    struct Box
    {
        QCheckBox *&box;
        const char *name;
        const char *caption;
        int x, width;
        bool checked;
        void (frmMain::*handler)();
    };
    const Box boxes[] = {
        {chGrid, "chGrid", "Разметка сетки", 16, 145, true, &frmMain::chGrid_Click},
        {chMusic, "chMusic", "Музыка", 176, 81, true, &frmMain::chMusic_Click},
        {chBack, "chBack", "Объемный вид", 272, 129, true, &frmMain::chBack_Click},
        {chPoints, "chPoints", "Счет", 408, 65, false, &frmMain::chPoints_Click},
    };
    for (const Box &item : boxes) {
        auto *box = new QCheckBox(QString::fromUtf8(item.caption), this);
        box->setObjectName(QString::fromLatin1(item.name));
        box->setGeometry(item.x, 576, item.width, 19);
        box->setChecked(item.checked);
        paintText(box, Look::Orange);
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::clicked, this, item.handler);
        item.box = box;
    }
    lblStat = new TextButton(QStringLiteral("lblStat"), QStringLiteral("Статистика"), this);
    lblStat->setGeometry(592, 576, 96, 19);
    connect(lblStat, &TextButton::clicked, this, &frmMain::lblStat_Click);
    cmdNewGame = new TextButton(QStringLiteral("cmdNewGame"), QStringLiteral("Новая Игра"), this);
    cmdNewGame->setGeometry(704, 576, 81, 19);
    cmdNewGame->hide();
    connect(cmdNewGame, &TextButton::clicked, this, &frmMain::cmdNewGame_Click);
    for (TextButton *button : {lblStat, cmdNewGame})
        paintText(button, Look::Orange);
}

void frmMain::buildPlacementControls()
{
    // The score panel lies under the placement controls, so the game can go on
    // whatever the "Счет" switch shows.
    Frame1 = new ScorePanel(this);
    paintText(Frame1, Look::Orange);
    Frame1->hide();

    struct Button
    {
        TextButton *&button;
        const char *name;
        const char *caption;
        QRect geometry;
        void (frmMain::*click)();
    };
    const Button buttons[] = {
        {lblSetAuto,
         "lblSetAuto",
         "Расставить автоматически",
         {288, 392, 215, 21},
         &frmMain::lblSetAuto_Click},
        {lblSetY,
         "lblSetY",
         "Расставить корабли самому",
         {288, 424, 212, 21},
         &frmMain::lblSetY_Click},
        {lblAgree,
         "lblAgree",
         "Принять расстановку",
         {288, 424, 215, 21},
         &frmMain::lblAgree_Click},
    };
    for (const Button &item : buttons) {
        auto *button
            = new TextButton(QString::fromLatin1(item.name), QString::fromUtf8(item.caption), this);
        button->setGeometry(item.geometry);
        button->setAlignment(Qt::AlignCenter);
        paintText(button, Look::Orange);
        connect(button, &TextButton::clicked, this, item.click);
        TextButton *self = button;
        connect(button, &TextButton::hovered, this, [self] { self->setHoverFrame(true); });
        item.button = button;
    }
    lblAgree->hide();

    lblHelp = new QLabel(QStringLiteral("Для горизонтальной расстановки удерживайте клавишу Ctrl"),
                         this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setGeometry(176, 392, 439, 19);
    lblHelp->setAlignment(Qt::AlignCenter);
    paintText(lblHelp, Look::Orange);
    lblHelp->hide();

    const char *const levels[] = {"Легкий", "Средний", "Сложный"};
    for (int k = 0; k < 3; ++k) {
        auto *button = new QPushButton(QString::fromUtf8(levels[k]), this);
        button->setObjectName(QStringLiteral("rbL(%1)").arg(k));
        button->setGeometry(296, 424 + 56 * k, 209, 25);
        button->setFont(Look::serif(19, true, true));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Look::Orange);
        palette.setColor(QPalette::ButtonText, Qt::black);
        button->setPalette(palette);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, k] { rbL_Click(k); });
        rbL[k] = button;
    }

    for (int k = 0; k < 10; ++k) {
        auto *button = new QRadioButton(QString::number(ShipPicker::sizeOf(k)), this);
        button->setObjectName(QStringLiteral("rb(%1)").arg(k));
        button->setAccessibleName(QStringLiteral("%1-палубный корабль").arg(ShipPicker::sizeOf(k)));
        button->setGeometry(384, pickerTops[k], 33, 17);
        button->setFont(Look::arialBlack(11));
        paintText(button, Look::Orange);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QRadioButton::clicked, this, [this, k] { rb_Click(k); });
        rb[k] = button;
    }
    rb[0]->setChecked(true);
}

void frmMain::buildHiddenControls()
{
    LeftL = new StoredPicture(QStringLiteral("LeftL"), QStringLiteral(":/leftarrow.svg"), this);
    LeftL->setGeometry(80, 416, 111, 111);
    LeftL->setAccessibleName(QStringLiteral("Ход компьютера"));
    LeftL->hide();
    RightL = new StoredPicture(QStringLiteral("RightL"), QStringLiteral(":/rightarrow.svg"), this);
    RightL->setGeometry(648, 416, 111, 111);
    RightL->setAccessibleName(QStringLiteral("Ваш ход"));
    RightL->hide();

    Picture1 = new PictureHolder(QStringLiteral("Picture1"), this);
    Picture1->setGeometry(0, 552, 33, 33);
    Picture1->setAccessibleName(QStringLiteral("Часть корабля"));
    Picture1->hide();

    for (int k = 0; k < 40; ++k) {
        auto *box = new BoomBox(k, this);
        box->setGeometry(16 + 40 * (k % 10), 544 + 32 * (k / 10), 33, 33);
        box->setAccessibleName(QStringLiteral("Попадание"));
        connect(box, &BoomBox::pressed, this, &frmMain::pic_MouseDown);
        connect(box, &BoomBox::moved, this, &frmMain::pic_MouseMove);
        box->hide();
        picBoom[k] = box;
    }

    tmrI = makeTimer(QStringLiteral("tmrI"), 1500, this);
    tmrBoom = makeTimer(QStringLiteral("tmrBoom"), 100, this);
    tmrMuz = makeTimer(QStringLiteral("tmrMuz"), 52000, this);
    connect(tmrI, &QTimer::timeout, this, &frmMain::tmrI_Timer);
    connect(tmrBoom, &QTimer::timeout, this, &frmMain::tmrBoom_Timer);
    connect(tmrMuz, &QTimer::timeout, this, &frmMain::tmrMuz_Timer);
}

// The one place where the game's state becomes what the controls show.
void frmMain::mirror()
{
    using Phase = Game::Phase;
    const Phase phase = m_game.phase();
    lblSetAuto->setText(phase == Phase::AutoLayoutShown
                            ? QStringLiteral("Поменять расстановку")
                            : QStringLiteral("Расставить автоматически"));
    lblSetAuto->setVisible(phase == Phase::ChoosingWay || phase == Phase::AutoLayoutShown);
    lblSetY->setVisible(phase == Phase::ChoosingWay);
    lblAgree->setVisible(phase == Phase::AutoLayoutShown);
    lblHelp->setVisible(phase == Phase::PlacingByHand);
    const ShipPicker &picker = m_game.picker();
    for (int k = 0; k < ShipPicker::Count; ++k) {
        rb[k]->setVisible(phase == Phase::PlacingByHand);
        rb[k]->setEnabled(picker.isEnabled(k));
    }
    rb[picker.selected()]->setChecked(true);
    for (QPushButton *button : rbL)
        button->setVisible(phase == Phase::ChoosingLevel);
    cmdNewGame->setVisible(phase == Phase::Battle);
    RightL->setVisible(m_game.turn() == Game::Turn::Player);
    LeftL->setVisible(m_game.turn() == Game::Turn::Computer);
    Frame1->showScore(m_game.score());
}
