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
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QByteArray>("lcAll");
    QTest::addColumn<QByteArray>("lcMessages");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<Language>("expected");
    const Language en = Language::English;
    const Language ru = Language::Russian;
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << QByteArray()
                                 << ru;
    QTest::newRow("C.UTF-8") << QByteArray() << QByteArray() << QByteArray()
                             << QByteArray("C.UTF-8") << ru;
    QTest::newRow("POSIX") << QByteArray() << QByteArray() << QByteArray() << QByteArray("POSIX")
                           << ru;
    QTest::newRow("LANGUAGE ignored in C")
        << QByteArray("en") << QByteArray() << QByteArray() << QByteArray("C") << ru;
    QTest::newRow("LANGUAGE ignored unset")
        << QByteArray("en_US") << QByteArray() << QByteArray() << QByteArray() << ru;
    QTest::newRow("en_US") << QByteArray() << QByteArray() << QByteArray()
                           << QByteArray("en_US.UTF-8") << en;
    QTest::newRow("en_GB@euro") << QByteArray() << QByteArray() << QByteArray()
                                << QByteArray("en_GB.UTF-8@euro") << en;
    QTest::newRow("ru_RU") << QByteArray() << QByteArray() << QByteArray()
                           << QByteArray("ru_RU.UTF-8") << ru;
    QTest::newRow("de_DE") << QByteArray() << QByteArray() << QByteArray()
                           << QByteArray("de_DE.UTF-8") << ru;
    QTest::newRow("LANGUAGE en over ru")
        << QByteArray("en") << QByteArray() << QByteArray() << QByteArray("ru_RU.UTF-8") << en;
    QTest::newRow("LANGUAGE ru over en")
        << QByteArray("ru:en") << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << ru;
    QTest::newRow("LANGUAGE en after de") << QByteArray("de:en_GB:ru") << QByteArray()
                                          << QByteArray() << QByteArray("fr_FR.UTF-8") << en;
    QTest::newRow("LANGUAGE without either")
        << QByteArray("de:fr") << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << en;
    QTest::newRow("LANGUAGE empty members")
        << QByteArray("::") << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << en;
    QTest::newRow("LC_ALL over LANG") << QByteArray() << QByteArray("ru_RU.UTF-8") << QByteArray()
                                      << QByteArray("en_US.UTF-8") << ru;
    QTest::newRow("LC_ALL over LC_MESSAGES")
        << QByteArray() << QByteArray("C.UTF-8") << QByteArray("en_US.UTF-8") << QByteArray() << ru;
    QTest::newRow("LC_MESSAGES over LANG")
        << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8") << QByteArray("ru_RU.UTF-8")
        << en;
    QTest::newRow("LC_ALL C, LANGUAGE en")
        << QByteArray("en") << QByteArray("C") << QByteArray() << QByteArray("en_US.UTF-8") << ru;
    QTest::newRow("not a language")
        << QByteArray() << QByteArray() << QByteArray() << QByteArray("english") << ru;
}

void EnglishTest::languageFollowsTheDesktop()
{
    QFETCH(QByteArray, language);
    QFETCH(QByteArray, lcAll);
    QFETCH(QByteArray, lcMessages);
    QFETCH(QByteArray, lang);
    QFETCH(Language, expected);
    QCOMPARE(GameLanguage::chosen({language, lcAll, lcMessages, lang}), expected);
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
    QVERIFY2(news->lastWords().contains(QRegularExpression(QStringLiteral("^[A-J] \\d+ hit"))),
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
