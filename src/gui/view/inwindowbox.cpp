#include "view/inwindowbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

InWindowBox::InWindowBox(QDialog &box, QWidget &window)
    : m_box(box), m_window(window), m_quiet(qApp)
{
    // The veil takes every press and move meant for the window while the box is open.
    m_veil = new QWidget(&window);
    m_veil->setObjectName(QStringLiteral("veil"));
    m_veil->setAttribute(Qt::WA_StyledBackground);
    m_veil->setAttribute(Qt::WA_NoMousePropagation);
    m_veil->setStyleSheet(QStringLiteral("#veil { background: rgba(0, 0, 0, 80); }"));
    m_veil->setCursor(Qt::ArrowCursor);
    m_veil->setGeometry(window.rect());

    // Dressed as a box of the desktop, not as the window it lies in.
    m_frame = new QFrame(m_veil);
    m_frame->setObjectName(QStringLiteral("box"));
    m_frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_frame->setAutoFillBackground(true);
    m_frame->setPalette(QApplication::palette());
    m_frame->setFont(QApplication::font());
    auto *title = new QLabel(box.windowTitle().trimmed(), m_frame);
    title->setAlignment(Qt::AlignCenter);
    QFont bold = QApplication::font();
    bold.setBold(true);
    title->setFont(bold);
    auto *close = new QPushButton(QStringLiteral("×"), m_frame);
    close->setFlat(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setAccessibleName(tr("Закрыть"));
    connect(close, &QPushButton::clicked, &box, &QDialog::reject);
    auto *bar = new QHBoxLayout;
    bar->addWidget(title, 1);
    bar->addWidget(close);
    auto *layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addLayout(bar);
    m_flags = box.windowFlags();
    m_focus = window.focusWidget();
    box.setParent(m_frame, Qt::Widget);
    layout->addWidget(&box);
    // Next to the box in the order of the focus, so a control of the box that hides with the
    // focus passes it here rather than to a control of the game.
    auto *sink = new QWidget(m_frame);
    sink->setFocusPolicy(Qt::TabFocus);
    sink->resize(0, 0);
}

InWindowBox::~InWindowBox()
{
    // The keys go back where they were before the box hides: a control of the box hidden
    // with the focus would pass it on to the window's next control.
    if (m_focus)
        m_focus->setFocus();
    else if (QWidget *focus = QApplication::focusWidget(); focus && m_veil->isAncestorOf(focus))
        focus->clearFocus();
    // The box belongs to its caller: out of the frame before the veil goes.
    m_box.hide();
    m_box.setParent(nullptr, m_flags);
    delete m_veil;
}

int InWindowBox::exec()
{
    QEventLoop loop;
    connect(&m_box, &QDialog::finished, &loop, &QEventLoop::quit);
    m_box.show();
    m_frame->adjustSize();
    m_frame->move((m_window.width() - m_frame->width()) / 2,
                  (m_window.height() - m_frame->height()) / 2);
    m_veil->show();
    m_veil->raise();
    if (QWidget *focus = m_box.focusWidget())
        focus->setFocus();
    else
        stepFocus(true);
    // Installed last, this filter sees the keys before the window's own watchers.
    qApp->installEventFilter(this);
    loop.exec(QEventLoop::DialogExec);
    qApp->removeEventFilter(this);
    return m_box.result();
}

bool InWindowBox::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!key || !widget || widget->window() != &m_window)
        return false;
    auto *press = static_cast<QKeyEvent *>(event);
    if (press->key() == Qt::Key_Tab || press->key() == Qt::Key_Backtab) {
        if (event->type() == QEvent::KeyPress)
            stepFocus(press->key() == Qt::Key_Tab);
        return true;
    }
    // The key goes to the control of the box that has the focus and, unused there, up to the
    // box itself (Esc, Enter for its default button), past the window's own watchers.
    QWidget *target = widget == &m_box || m_box.isAncestorOf(widget) ? widget : &m_box;
    for (widget = target; widget; widget = widget->parentWidget()) {
        press->accept();
        if ((static_cast<QObject *>(widget)->event(press) && press->isAccepted())
            || widget == &m_box)
            break;
    }
    return true;
}

void InWindowBox::stepFocus(bool forward)
{
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : m_box.findChildren<QAbstractButton *>())
        if (button->isVisible() && button->focusPolicy() != Qt::NoFocus)
            buttons.append(button);
    if (buttons.isEmpty())
        return;
    const int at = buttons.indexOf(qobject_cast<QAbstractButton *>(QApplication::focusWidget()));
    const int count = int(buttons.size());
    const int next = at < 0 ? 0 : (at + (forward ? 1 : count - 1)) % count;
    buttons.at(next)->setFocus(Qt::TabFocusReason);
}
