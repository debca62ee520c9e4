#include "view/keys/announcement.h"

#include <QAccessibleWidget>

namespace {
// Pieces of news a screen reader may lag behind and still hear each as it was.
constexpr int Voices = 4;

QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    return className == QLatin1String("Announcement")
        ? new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification)
        : nullptr;
}
} // namespace

Announcement::Announcement(QWidget *window) : Announcement(window, Turn {})
{
    m_voices.append(this);
    for (int k = 1; k < Voices; ++k) {
        m_voices.append(new Announcement(window, Turn {}));
        m_voices.last()->setObjectName(QStringLiteral("announcement %1").arg(k + 1));
    }
}

Announcement::Announcement(QWidget *window, Turn) : QWidget(window)
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
    setAccessibleName(QStringLiteral("Ход игры"));
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
