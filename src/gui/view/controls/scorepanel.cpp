#include "view/controls/scorepanel.h"

#include "view/look.h"
#include "view/spoken/spokenwords.h"

#include <QFrame>
#include <QLabel>

namespace {
QFrame *addLine(const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line->setPalette(palette);
    line->setGeometry(geometry);
    line->setAccessibleName(ScorePanel::tr("Разделитель"));
    return line;
}

// By size 1 to 4: each a word of its own in a language that names ships by their class.
const char *const shipsLeft[] = {
    QT_TRANSLATE_NOOP("ScorePanel", "1-палубных"), QT_TRANSLATE_NOOP("ScorePanel", "2-палубных"),
    QT_TRANSLATE_NOOP("ScorePanel", "3-палубных"), QT_TRANSLATE_NOOP("ScorePanel", "4-палубных")};
} // namespace

ScorePanel::ScorePanel(QWidget *parent) : QGroupBox(tr("Счет"), parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setAccessibleName(SpokenWords::caption(title()));
    setFont(Look::serif(16, true, true));

    const QFont heading = Look::serif(16);
    const QFont counter = Look::serif(32, true);
    const QFont small = Look::serif(16, true);
    const QColor orange = Look::Orange;

    auto *label2
        = addLabel("Label2", tr("Компьютер попаданий:"), {24, 16, 82, 43}, heading, orange);
    label2->setWordWrap(true);
    m_compHits = addLabel("lblC", "0", {128, 16, 16, 36}, counter, Qt::black);
    addLabel("Label", tr("Промахов"), {32, 56, 0, 0}, heading, orange);
    m_compMisses = addLabel("lblFC", "0", {128, 48, 16, 36}, counter, Qt::black);
    auto *label3 = addLabel("Label3", tr("Игрок попаданий:"), {192, 16, 79, 35}, heading, orange);
    label3->setWordWrap(true);
    m_userHits = addLabel("lblU", "0", {296, 16, 16, 36}, counter, Qt::black);
    addLabel("label5", tr("Промахов"), {200, 56, 0, 0}, heading, orange);
    m_userMisses = addLabel("lblFU", "0", {296, 48, 16, 36}, counter, Qt::black);
    addLabel("Label4", tr("Осталось:"), {136, 80, 0, 0}, heading, orange);

    // One row a ship size, the largest first.
    for (int row = 0; row < Fleet::LargestShip; ++row) {
        const int size = Fleet::LargestShip - row;
        const int y = 96 + 16 * row;
        const QString start = QString::number(Fleet::countBySize()[size]);
        const QString ships = tr(shipsLeft[size - 1]);
        // Said as a word: the voice reads the hyphen aloud.
        const QString spoken = SpokenWords::ship(size, 0);
        addLabel(QStringLiteral("Label%1").arg(6 + row), ships, {16, y, 0, 0}, heading, orange)
            ->setAccessibleName(spoken);
        m_playerAfloat[size]
            = addLabel(QStringLiteral("lblC%1").arg(size), start, {136, y, 0, 0}, small, orange);
        addLabel(QStringLiteral("Label%1").arg(10 + row), ships, {192, y, 0, 0}, heading, orange)
            ->setAccessibleName(spoken);
        m_compAfloat[size]
            = addLabel(QStringLiteral("lblU%1").arg(size), start, {304, y, 0, 0}, small, orange);
    }
    for (QLabel *label : {label2, label3, m_compHits, m_compMisses, m_userHits, m_userMisses})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    addLine(QStringLiteral("Line2"), {8, 80, 313, 1}, this);
    addLine(QStringLiteral("Line1"), {168, 16, 1, 161}, this);
}

QLabel *ScorePanel::addLabel(const QString &name, const QString &caption, const QRect &geometry,
                             const QFont &font, const QColor &colour)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    if (geometry.width() > 0) {
        label->setGeometry(geometry);
    } else {
        label->move(geometry.topLeft());
        label->adjustSize();
    }
    return label;
}

// A counter grows to the right when its number gets wider, as an auto-sized label does.
void ScorePanel::setCount(QLabel *label, int value)
{
    const QString text = QString::number(value);
    if (label->text() == text)
        return;
    label->setText(text);
    const int needed = label->fontMetrics().horizontalAdvance(text) + 2;
    if (needed > label->width())
        label->resize(needed, label->height());
}

void ScorePanel::showScore(const Score &score)
{
    setCount(m_compHits, score.compHits);
    setCount(m_compMisses, score.compMisses);
    setCount(m_userHits, score.userHits);
    setCount(m_userMisses, score.userMisses);
    for (int size = 1; size <= Fleet::LargestShip; ++size) {
        setCount(m_playerAfloat[size], score.playerAfloat[size]);
        setCount(m_compAfloat[size], score.compAfloat[size]);
    }
    setAccessibleName(SpokenWords::score(score));
}
