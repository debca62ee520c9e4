#include "view/keys/announcement.h"

#include <QAccessibleWidget>

namespace {
QAccessibleInterface *notificationFactory(const QString &className, QObject *object)
{
    return className == QLatin1String("Announcement")
        ? new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification)
        : nullptr;
}
} // namespace

Announcement::Announcement(QWidget *window) : QWidget(window)
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
    // Hidden first, so that showing it again is news even for the same words.
    hide();
    setAccessibleName(text);
    show();
    ++m_count;
}

void Announcement::repeat()
{
    if (m_count > 0)
        say(accessibleName());
}
