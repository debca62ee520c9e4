#include "battledriver.h"
#include "windowfixture.h"

#include "stats/frmstat.h"
#include "view/controls/textbutton.h"
#include "view/gamelanguage.h"
#include "view/spoken/announcement.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTableView>
#include <QTranslator>

using namespace WindowDriver;
using namespace BattleDriver;
using Language = GameLanguage::Language;

namespace {

bool hasCyrillic(const QString &text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return text.contains(cyrillic);
}

// The English words installed for the life of the object.
struct English
{
    QTranslator words;
    English()
    {
        if (words.load(QStringLiteral(":/i18n/seabattle_en.qm")))
            QCoreApplication::installTranslator(&words);
    }
    ~English() { QCoreApplication::removeTranslator(&words); }
    bool installed() const { return !words.isEmpty(); }
};

// What a control's text needs in width, as its style lays it out; 0 for a label that wraps.
int widthNeeded(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->wordWrap() || label->text().isEmpty()
            ? 0
            : label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (auto *group = qobject_cast<QGroupBox *>(control))
        return group->fontMetrics().horizontalAdvance(group->title());
    return 0;
}

QString shownText(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(control))
        return group->title();
    return {};
}

// Each named control of the window as it stands: the width its text needs, the height a
// label that wraps needs, and where it is in the window.
struct Place
{
    int needed;
    int neededHeight;
    QRect geometry;
};
QMap<QString, Place> places(frmMain &w)
{
    QMap<QString, Place> all;
    for (QWidget *control : w.findChildren<QWidget *>()) {
        auto *label = qobject_cast<QLabel *>(control);
        if (!control->objectName().isEmpty() && !shownText(control).isEmpty())
            all[control->objectName()]
                = {widthNeeded(control),
                   label && label->wordWrap() ? label->heightForWidth(label->width()) : 0,
                   QRect(control->mapTo(&w, QPoint()), control->size())};
    }
    return all;
}

} // namespace

class EnglishTest : public QObject
{
    Q_OBJECT
private slots:
    void languageFollowsTheDesktop_data();
    void languageFollowsTheDesktop();
    void everyTextIsEnglishAndFitsWhereTheRussianDoes();
    void aWholeGameIsToldInEnglishAndStoredInRussian();
};

// English only where the player's languages put it before Russian; the C locale, an empty
// environment and any third language keep the game Russian.
void EnglishTest::languageFollowsTheDesktop_data()
{
    QTest::addColumn<GameLanguage::Environment>("environment");
    QTest::addColumn<Language>("expected");
    const Language en = Language::English;
    const Language ru = Language::Russian;
    // LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
    const struct
    {
        const char *name;
        GameLanguage::Environment environment;
        Language expected;
    } rows[] = {
        {"nothing set", {}, ru},
        {"C.UTF-8", {"", "", "", "C.UTF-8"}, ru},
        {"POSIX", {"", "", "", "POSIX"}, ru},
        {"LANGUAGE ignored in C", {"en", "", "", "C"}, ru},
        {"LANGUAGE ignored unset", {"en_US", "", "", ""}, ru},
        {"en_US", {"", "", "", "en_US.UTF-8"}, en},
        {"en_GB@euro", {"", "", "", "en_GB.UTF-8@euro"}, en},
        {"ru_RU", {"", "", "", "ru_RU.UTF-8"}, ru},
        {"de_DE", {"", "", "", "de_DE.UTF-8"}, ru},
        {"LANGUAGE en over ru", {"en", "", "", "ru_RU.UTF-8"}, en},
        {"LANGUAGE ru over en", {"ru:en", "", "", "en_US.UTF-8"}, ru},
        {"LANGUAGE en after de", {"de:en_GB:ru", "", "", "fr_FR.UTF-8"}, en},
        {"LANGUAGE without either", {"de:fr", "", "", "en_US.UTF-8"}, en},
        {"LANGUAGE empty members", {"::", "", "", "en_US.UTF-8"}, en},
        {"LC_ALL over LANG", {"", "ru_RU.UTF-8", "", "en_US.UTF-8"}, ru},
        {"LC_ALL over LC_MESSAGES", {"", "C.UTF-8", "en_US.UTF-8", ""}, ru},
        {"LC_MESSAGES over LANG", {"", "", "en_US.UTF-8", "ru_RU.UTF-8"}, en},
        {"LC_ALL C, LANGUAGE en", {"en", "C", "", "en_US.UTF-8"}, ru},
        {"not a language", {"", "", "", "english"}, ru},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.environment << row.expected;
}

void EnglishTest::languageFollowsTheDesktop()
{
    QFETCH(GameLanguage::Environment, environment);
    QFETCH(Language, expected);
    QCOMPARE(GameLanguage::chosen(environment), expected);
}

// Every caption and accessible name of the window is English, in every phase of the
// placement and the battle, and needs no more room than its place gives or the Russian
// caption takes already; the score panel's labels, which size themselves, overlap nothing the
// Russian ones do not.
void EnglishTest::everyTextIsEnglishAndFitsWhereTheRussianDoes()
{
    const auto phases = [](frmMain &w) {
        QList<QMap<QString, Place>> seen {places(w)};
        click(find<TextButton>(w, "lblSetAuto"));
        seen << places(w);
        click(find<TextButton>(w, "lblAgree"));
        click(find<QPushButton>(w, QStringLiteral("rbL(0)")));
        click(find<QAbstractButton>(w, "chPoints"));
        seen << places(w);
        return seen;
    };
    QList<QMap<QString, Place>> russian;
    {
        WindowFixture fixture;
        russian = phases(fixture.w());
    }
    English english;
    QVERIFY(english.installed());
    WindowFixture fixture;
    const QList<QMap<QString, Place>> translated = phases(fixture.w());
    for (QWidget *control : fixture.w().findChildren<QWidget *>()) {
        QVERIFY2(!hasCyrillic(shownText(control)), qPrintable(shownText(control)));
        QVERIFY2(!hasCyrillic(control->accessibleName()), qPrintable(control->accessibleName()));
    }
    for (int phase = 0; phase < translated.size(); ++phase) {
        for (auto it = translated[phase].cbegin(); it != translated[phase].cend(); ++it) {
            const Place &ru = russian[phase].value(it.key());
            const Place &en = it.value();
            const int room = qMax(en.geometry.width(), ru.needed);
            QVERIFY2(en.needed <= room,
                     qPrintable(QStringLiteral("%1 needs %2 of %3 pixels")
                                    .arg(it.key())
                                    .arg(en.needed)
                                    .arg(room)));
            const int height = qMax(en.geometry.height(), ru.neededHeight);
            QVERIFY2(en.neededHeight <= height,
                     qPrintable(QStringLiteral("%1 needs %2 of %3 pixels in height")
                                    .arg(it.key())
                                    .arg(en.neededHeight)
                                    .arg(height)));
        }
    }
    // Labels and counters alike, the buttons left out: a label may lie over a button's margin.
    const auto overlaps = [](const QMap<QString, Place> &window) {
        const auto isLabel = [](const QString &name) {
            return name.startsWith(QLatin1String("label"), Qt::CaseInsensitive)
                || name.startsWith(QLatin1String("lbl"));
        };
        QStringList pairs;
        for (auto a = window.cbegin(); a != window.cend(); ++a)
            for (auto b = std::next(a); b != window.cend(); ++b)
                if (isLabel(a.key()) && isLabel(b.key()) && a->geometry.intersects(b->geometry))
                    pairs << a.key() + QLatin1Char('/') + b.key();
        return pairs;
    };
    for (const QString &pair : overlaps(translated.last()))
        QVERIFY2(overlaps(russian.last()).contains(pair), qPrintable(pair));
}

// A whole game in English: its boxes and news are English, the statistics window shows the
// row in English, and the row stored is the one the Russian game stores.
void EnglishTest::aWholeGameIsToldInEnglishAndStoredInRussian()
{
    English english;
    WindowFixture fixture;
    frmMain &w = fixture.w();
    auto *news = find<Announcement>(w, "announcement");
    layOutAndChooseLevel(w, 2);
    const QList<int> ships = compCells(w, CellState::Ship);
    pressCell(w, ships.first());
    QVERIFY2(news->lastWords().contains(QRegularExpression(QStringLiteral("^([B-J]|eh) \\d+ hit"))),
             qPrintable(news->lastWords()));
    pressCell(w, ships.first());
    for (int index : ships)
        pressCell(w, index);
    QVERIFY(fixture.prompter.shown.contains(QStringLiteral("|You have already fired there")));
    QCOMPARE(fixture.prompter.shown.last(), QStringLiteral("|You won"));
    for (const QString &told : fixture.prompter.shown)
        QVERIFY2(!hasCyrillic(told), qPrintable(told));
    const QString file = fixture.folder.filePath("Base.mdb");
    QCOMPARE(storedRows(file), QStringList {"Игрок|20|0|Средний"});

    frmStat statistics(nullptr, file);
    QCOMPARE(statistics.windowTitle(), QStringLiteral("Statistics"));
    auto *grid = statistics.findChild<QTableView *>(QStringLiteral("Grid"));
    const QAbstractItemModel *table = grid->model();
    QStringList shown;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QString header = table->headerData(column, Qt::Horizontal).toString();
        const int needed = grid->horizontalHeader()->fontMetrics().horizontalAdvance(header);
        QVERIFY2(needed < grid->columnWidth(column), qPrintable(header));
        shown << header << table->index(0, column).data().toString();
    }
    QCOMPARE(shown,
             QStringList({"Winner", "Player", "Player's hits", "20", "Computer's hits", "0",
                          "Level", "Medium"}));
}

QTEST_MAIN(EnglishTest)
#include "tst_english.moc"
