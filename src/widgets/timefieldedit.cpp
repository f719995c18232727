#include "widgets/timefieldedit.h"

#include "platform/prompter.h"
#include "widgets/keyfilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

CTimeFieldEdit::CTimeFieldEdit(int nWrongKeyMode, QWidget* pParent) : QLineEdit(pParent), m_nWrongKeyMode(nWrongKeyMode)
{
    setMaxLength(MAX_CHARS);
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
}

void CTimeFieldEdit::focusInEvent(QFocusEvent* pEvent)
{
    // No input method in a number field.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    QLineEdit::focusInEvent(pEvent);
}

void CTimeFieldEdit::keyPressEvent(QKeyEvent* pEvent)
{
    if (!CKeyFilter::IsDialogKey(*pEvent) && !CKeyFilter::IsPassedKey(*pEvent))
        GetPrompter().Confirm(m_nWrongKeyMode);
    QLineEdit::keyPressEvent(pEvent);
}

void CTimeFieldEdit::inputMethodEvent(QInputMethodEvent* pEvent)
{
    if (pEvent->commitString().isEmpty() && pEvent->preeditString().isEmpty()) {
        QLineEdit::inputMethodEvent(pEvent);
        return;
    }
    // A key being composed by the input method is swallowed.
    pEvent->accept();
    GetPrompter().Confirm(MODE_KANA_BUTTON);
}
