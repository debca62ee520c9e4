#include "view/controls/placementcontrols.h"

#include "battle/game.h"
#include "stats/storedwords.h"
#include "view/controls/textbutton.h"
#include "view/look.h"
#include "view/spoken/spokenwords.h"
#include "view/windowlayout.h"

#include <QPushButton>
#include <QRadioButton>

PlacementControls::PlacementControls(QWidget *window) : QObject(window)
{
    setObjectName(QStringLiteral("placement"));
    m_setAuto
        = new TextButton(QStringLiteral("lblSetAuto"), tr("Расставить автоматически"), window);
    m_setByHand
        = new TextButton(QStringLiteral("lblSetY"), tr("Расставить корабли самому"), window);
    m_agree = new TextButton(QStringLiteral("lblAgree"), tr("Принять расстановку"), window);
    for (TextButton *button : {m_setAuto, m_setByHand, m_agree}) {
        WindowLayout::place(button);
        button->setAlignment(Qt::AlignCenter);
        Look::paintText(button, Look::Orange);
        connect(button, &TextButton::hovered, this,
                [button] { button->setFrameShape(QFrame::Box); });
    }
    m_agree->hide();
    connect(m_setAuto, &TextButton::clicked, this, &PlacementControls::setAutoClicked);
    connect(m_setByHand, &TextButton::clicked, this, &PlacementControls::setByHandClicked);
    connect(m_agree, &TextButton::clicked, this, &PlacementControls::agreeClicked);
    m_help = new QLabel(tr("Для горизонтальной расстановки удерживайте клавишу Ctrl"), window);
    m_help->setObjectName(QStringLiteral("lblHelp"));
    WindowLayout::place(m_help);
    m_help->setAlignment(Qt::AlignCenter);
    Look::paintText(m_help, Look::Orange);
    m_help->hide();
    for (int k = 0; k < int(m_levels.size()); ++k) {
        auto *button = new QPushButton(StoredWords::shown(Game::levelName(k + 1)), window);
        button->setObjectName(QStringLiteral("rbL(%1)").arg(k));
        button->setAccessibleName(SpokenWords::caption(button->text()));
        button->setGeometry(WindowLayout::levelButton(k));
        button->setFont(Look::serif(19, true, true));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Look::Orange);
        palette.setColor(QPalette::ButtonText, Qt::black);
        button->setPalette(palette);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, k] { emit levelClicked(k); });
        m_levels[k] = button;
    }
    for (int k = 0; k < int(m_picker.size()); ++k) {
        const int size = ShipPicker::sizeOf(k);
        auto *button = new QRadioButton(QString::number(size), window);
        button->setObjectName(QStringLiteral("rb(%1)").arg(k));
        button->setAccessibleName(SpokenWords::ship(size));
        button->setGeometry(WindowLayout::pickerMember(k));
        button->setFont(Look::arialBlack(11));
        Look::paintText(button, Look::Orange);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QRadioButton::clicked, this, [this, k] { emit shipClicked(k); });
        m_picker[k] = button;
    }
    m_picker[0]->setChecked(true);
}

void PlacementControls::showPhase(const Game &game)
{
    using Phase = Game::Phase;
    const Phase phase = game.phase();
    m_setAuto->setText(phase == Phase::AutoLayoutShown ? tr("Поменять расстановку")
                                                       : tr("Расставить автоматически"));
    m_setAuto->setVisible(phase == Phase::ChoosingWay || phase == Phase::AutoLayoutShown);
    m_setByHand->setVisible(phase == Phase::ChoosingWay);
    m_agree->setVisible(phase == Phase::AutoLayoutShown);
    m_help->setVisible(phase == Phase::PlacingByHand);
    const ShipPicker &picker = game.picker();
    for (int k = 0; k < ShipPicker::Count; ++k) {
        m_picker[k]->setVisible(phase == Phase::PlacingByHand);
        m_picker[k]->setEnabled(picker.isEnabled(k));
    }
    m_picker[picker.selected()]->setChecked(true);
    for (QPushButton *button : m_levels)
        button->setVisible(phase == Phase::ChoosingLevel);
}

void PlacementControls::clearHoverFrames()
{
    for (TextButton *button : {m_setByHand, m_setAuto, m_agree}) {
        if (button->frameShape() != QFrame::NoFrame)
            button->setFrameShape(QFrame::NoFrame);
    }
}
