#include "view/spoken/announcement.h"

#include <QAccessibleWidget>
#include <QStatusBar>

namespace {
// Pieces of news a screen reader may lag behind and still hear each as it was.
constexpr int Voices = 4;

QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    return className == QLatin1String("Announcement")
        ? new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification)
        : nullptr;
}

// The news lies in a status bar: Orca then says it without the role's name before it.
QWidget *newsBar(QWidget *window)
{
    auto *bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("newsBar"));
    bar->setAccessibleName(Announcement::tr("Ход игры"));
    bar->setSizeGripEnabled(false);
    bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setGeometry(0, 0, 1, 1);
    bar->show();
    return bar;
}
} // namespace

Announcement::Announcement(QWidget *window) : Announcement(newsBar(window), Turn {})
{
    m_voices.append(this);
    for (int k = 1; k < Voices; ++k) {
        m_voices.append(new Announcement(parentWidget(), Turn {}));
        m_voices.last()->setObjectName(QStringLiteral("announcement %1").arg(k + 1));
    }
}

Announcement::Announcement(QWidget *bar, Turn) : QWidget(bar)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("announcement"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    setAccessibleName(tr("Ход игры"));
    hide(); // nothing to tell yet
}

void Announcement::say(const QString &text)
{
    if (text.isEmpty())
        return;
    QWidget *voice = m_voices.at(m_count % m_voices.size());
    // Hidden first, so that showing it again is news even for the same words.
    voice->hide();
    voice->setAccessibleName(text);
    voice->show();
    m_lastWords = text;
    ++m_count;
}

void Announcement::repeat()
{
    if (m_count > 0)
        say(m_lastWords);
}
