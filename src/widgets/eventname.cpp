#include "widgets/eventname.h"

#include "platform/prompter.h"

#include <QKeyEvent>

CEventName::CEventName(QWidget* pParent) : QLineEdit(pParent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CEventName::focusInEvent(QFocusEvent* pEvent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QLineEdit::focusInEvent(pEvent);
}

void CEventName::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Space)
        GetPrompter().Confirm(MODE_INVALID_CHARACTER);
    QLineEdit::keyPressEvent(pEvent);
}
