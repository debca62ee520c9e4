#include "view/spoken/pressableaccessible.h"

#include <QLabel>

namespace {
QAccessibleInterface *pressableFactory(const QString &className, QObject *object)
{
    const bool pressable
        = className == QLatin1String("CellView") || className == QLatin1String("TextButton");
    return pressable && object->isWidgetType()
        ? new PressableAccessible(static_cast<QWidget *>(object))
        : nullptr;
}
} // namespace

PressableAccessible::PressableAccessible(QWidget *widget)
    : QAccessibleWidget(widget, QAccessible::Button)
{ }

QString PressableAccessible::text(QAccessible::Text kind) const
{
    const auto *label = qobject_cast<const QLabel *>(widget());
    if (kind == QAccessible::Name && label && widget()->accessibleName().isEmpty())
        return label->text();
    return QAccessibleWidget::text(kind);
}

void PressableAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(pressableFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
